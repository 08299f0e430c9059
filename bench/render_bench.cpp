// The simulator's renderer on a 1920 x 1080 composition of ten layers, in frames per second.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchProjects.h"
#include "Renderer.h"

namespace {

void renderCase(benchmark::State& state, int bits) {
    const sim::Project project = bench::renderProject(bits);
    const sim::Id frame = project.activeItem;
    const sim::Comp& comp = project.findItem(frame)->comp;
    const int64_t rate = static_cast<int64_t>(comp.frameRate);
    const int64_t frames = static_cast<int64_t>(comp.duration.toDouble() * comp.frameRate + 0.5);
    int64_t f = 0;
    for (auto _ : state) {
        // Successive frames, so the animated layers change from one render to the next.
        sim::World w = sim::renderComp(project, frame, sim::Rational(f, rate), 1, 1);
        benchmark::DoNotOptimize(w.data.data());
        f = (f + 1) % frames;
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

bool registerRenderCases() {
    for (int bits : {8, 16, 32})
        benchmark::RegisterBenchmark(("Render/" + std::to_string(bits) + "/1920x1080").c_str(),
                                     renderCase, bits)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(3);
    return true;
}

const bool kRenderCasesRegistered = registerRenderCases();

}  // namespace
