// The simulator's renderer on a 1920 x 1080 composition of ten layers, in frames per second: frame
// after frame into the same memory, as the host's render suite does, on every processor and on one.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchProjects.h"
#include "Parallel.h"
#include "Renderer.h"

namespace {

void renderCase(benchmark::State& state, int bits, int threads) {
    const sim::Project project = bench::renderProject(bits);
    const sim::Id frame = project.activeItem;
    const sim::Comp& comp = project.findItem(frame)->comp;
    const int64_t rate = static_cast<int64_t>(comp.frameRate);
    const int64_t frames = static_cast<int64_t>(comp.duration.toDouble() * comp.frameRate + 0.5);
    sim::RenderSettings settings;
    settings.threads = threads;
    sim::ReusableFrame world;
    sim::RenderScratch scratch;
    int64_t f = 0;
    for (auto _ : state) {
        // Successive frames, so the animated layers change from one render to the next.
        sim::renderComp(project, frame, sim::Rational(f, rate), 1, 1, world, scratch, settings);
        benchmark::DoNotOptimize(world.world.data.data());
        f = (f + 1) % frames;
    }
    state.counters["threads"] = threads == 0 ? sim::defaultThreadCount() : threads;
}

bool registerRenderCases() {
    for (int bits : {8, 16, 32}) {
        const std::string tail = std::to_string(bits) + "/1920x1080";
        // Wall-clock time: the helper threads' work is not in the calling thread's CPU time.
        benchmark::RegisterBenchmark(("Render/" + tail).c_str(), renderCase, bits, 0)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5);
        benchmark::RegisterBenchmark(("RenderOneThread/" + tail).c_str(), renderCase, bits, 1)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Repetitions(5);
    }
    return true;
}

const bool kRenderCasesRegistered = registerRenderCases();

}  // namespace
