// Correcting the uses of a cropped composition in a large project, through the simulator's suites.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "BenchProjects.h"
#include "Crop.h"
#include "Host.h"

namespace {

using Clock = std::chrono::steady_clock;

void usesCase(benchmark::State& state) {
    const int comps = static_cast<int>(state.range(0));
    const int layersPerComp = static_cast<int>(state.range(1));
    const int uses = static_cast<int>(state.range(2));
    const sim::Project original = bench::usesProject(comps, layersPerComp, uses);
    const sim::Id cropped = bench::itemId(original, "Cropped");
    // The host's index of the project is complete before the command, as after any earlier look
    // (the menu update's): asking for the last layer made builds it, and copies keep it.
    const sim::Comp& last = original.items.back().comp;
    if (!last.layers.empty()) original.findLayer(last.layers.back().id);

    // "Cropped" measured at 1920 x 1080 and cut to 1520 x 880 at (200, 100).
    const crop::CroppingBounds bounds{100, 979, 200, 1719, 1920, 1080};
    const A_Time time{0, 1};
    std::vector<double> times;
    double calls = 0;
    for (auto _ : state) {
        // A fresh host each time, as zentrim-host starts: no handle of the project exists yet.
        std::optional<sim::Host> host;
        host.emplace();
        host->log().setRecording(false);  // as zentrim-host runs it: counts, no record
        host->project() = original;
        AEGP_ItemH item = host->itemHandle(cropped);
        // The command holds an undo group around the correction; opening it copies the project,
        // which is the host's cost, not the plug-in's.
        host->startUndoGroup("Zentrim");

        // Both halves of the correction: what it rewrites is read (before the resize, which is
        // the host's work and not timed) and written back.
        const Clock::time_point start = Clock::now();
        crop::UsesBefore before;
        A_Err err = crop::findAllUses(host->basicSuite(), 1, item, time, &before);
        if (!err) err = crop::correctAllUses(host->basicSuite(), 1, before, bounds);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);

        host->endUndoGroup();
        if (err != A_Err_NONE || !host->log().problems().empty()) {
            state.SkipWithError(("the correction failed: error " + std::to_string(err)).c_str());
            break;
        }
        calls = static_cast<double>(host->log().callCount());
    }
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    state.counters["median_ms"] = times[times.size() / 2] * 1e3;
    state.counters["comps"] = comps;
    state.counters["layers"] = static_cast<double>(comps) * layersPerComp;
    state.counters["uses"] = uses;
    state.counters["host_calls"] = calls;
}

}  // namespace

// Compositions, layers per composition, uses.
BENCHMARK(usesCase)
    ->Name("CorrectUses")
    ->ArgNames({"comps", "layersPerComp", "uses"})
    ->Args({1000, 10, 100})
    ->Args({10000, 10, 1000})
    ->Args({100000, 10, 10000})
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
