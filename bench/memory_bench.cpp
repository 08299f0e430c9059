// Costs that must not grow faster than the work: a long crop over the duration of a small
// composition in flat memory, a project of many items loaded and cropped in linear time, and the
// crop of a composition of many layers in linear time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>
#include <string>

#include "AllocationCounter.h"
#include "BenchProjects.h"
#include "Crop.h"
#include "Host.h"
#include "ProjectFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// "Zentrim Duration" over `frames` frames; the heap's growth during the run, at its peak and what
// stays after it, comes from the program's counting operator new.
void longDurationCase(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    const bool record = state.range(1) != 0;
    const sim::Project original = bench::longDurationProject(frames);
    const sim::Id tiny = original.activeItem;
    double peak = 0, retained = 0, seconds = 0;
    for (auto _ : state) {
        std::optional<sim::Host> host;
        host.emplace();
        host->log().setRecording(record);
        host->project() = original;
        const size_t before = bench::liveBytes();
        bench::resetPeak();
        const Clock::time_point start = Clock::now();
        bool firstRun = true;
        const A_Err err = crop::cropDuration(host->basicSuite(), 1, &firstRun);
        seconds = secondsSince(start);
        state.SetIterationTime(seconds);
        peak = static_cast<double>(bench::peakBytes() - before);
        retained = static_cast<double>(bench::liveBytes()) - static_cast<double>(before);
        if (err != A_Err_NONE || host->project().findItem(tiny)->comp.width == 64) {
            state.SkipWithError(("the crop failed: error " + std::to_string(err)).c_str());
            break;
        }
    }
    state.counters["frames"] = frames;
    state.counters["record"] = record ? 1 : 0;
    state.counters["peak_bytes"] = peak;
    state.counters["retained_bytes"] = retained;
    state.counters["us_per_frame"] = seconds * 1e6 / frames;
}

// Loading the project text, then the standard crop of "Logo", whose correction of uses walks every
// item; the loaded project's peak heap too.
void manyItemsCase(benchmark::State& state) {
    const int items = static_cast<int>(state.range(0));
    const std::string text = sim::serializeProject(bench::manyItemsProject(items));
    double loadSeconds = 0, cropSeconds = 0, peak = 0;
    for (auto _ : state) {
        const size_t before = bench::liveBytes();
        bench::resetPeak();
        Clock::time_point start = Clock::now();
        sim::Project project = sim::parseProject(text, "many-items.json", "");
        loadSeconds = secondsSince(start);

        std::optional<sim::Host> host;
        host.emplace();
        host->log().setRecording(false);
        host->project() = std::move(project);
        const sim::Id logo = bench::itemId(host->project(), "Logo");
        AEGP_ItemH item = host->itemHandle(logo);
        host->startUndoGroup("Zentrim");
        start = Clock::now();
        const A_Err err = crop::standardCrop(host->basicSuite(), 1, item, 0);
        cropSeconds = secondsSince(start);
        host->endUndoGroup();
        peak = static_cast<double>(bench::peakBytes() - before);
        state.SetIterationTime(loadSeconds + cropSeconds);
        if (err != A_Err_NONE || host->project().findItem(logo)->comp.width == 1920) {
            state.SkipWithError(("the crop failed: error " + std::to_string(err)).c_str());
            break;
        }
    }
    state.counters["items"] = items;
    state.counters["load_ms"] = loadSeconds * 1e3;
    state.counters["crop_ms"] = cropSeconds * 1e3;
    state.counters["peak_bytes"] = peak;
    state.counters["text_bytes"] = static_cast<double>(text.size());
}

// The standard crop of a composition of `layers` layers: its render, then the host's part in
// carrying every layer (parenting each to the temporary null, then deleting the null, whose
// transform is folded into each child).
void manyLayersCase(benchmark::State& state) {
    const int layers = static_cast<int>(state.range(0));
    const sim::Project original = bench::manyLayersProject(layers);
    const sim::Id crowd = original.activeItem;
    double seconds = 0, calls = 0;
    for (auto _ : state) {
        std::optional<sim::Host> host;
        host.emplace();
        host->log().setRecording(false);  // as zentrim-host runs it
        host->project() = original;
        AEGP_ItemH item = host->itemHandle(crowd);
        host->startUndoGroup("Zentrim");
        const Clock::time_point start = Clock::now();
        const A_Err err = crop::standardCrop(host->basicSuite(), 1, item, 0);
        seconds = secondsSince(start);
        host->endUndoGroup();
        state.SetIterationTime(seconds);
        calls = static_cast<double>(host->log().callCount());
        if (err != A_Err_NONE || host->project().findItem(crowd)->comp.width == 1920) {
            state.SkipWithError(("the crop failed: error " + std::to_string(err)).c_str());
            break;
        }
    }
    state.counters["layers"] = layers;
    state.counters["crop_ms"] = seconds * 1e3;
    state.counters["host_calls"] = calls;
    state.counters["us_per_layer"] = seconds * 1e6 / layers;
}

}  // namespace

// Frames, whether the call log keeps its record (tests do, zentrim-host does not).
BENCHMARK(longDurationCase)
    ->Name("LongDuration")
    ->ArgNames({"frames", "record"})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(manyItemsCase)
    ->Name("ManyItems")
    ->ArgNames({"items"})
    ->Args({20000})
    ->Args({200000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(manyLayersCase)
    ->Name("ManyLayers")
    ->ArgNames({"layers"})
    ->Args({10000})
    ->Args({100000})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
