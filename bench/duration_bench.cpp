// The crop over a duration at 4K: the simulator's render time per frame and the plug-in's own time
// per frame, told apart by timing the host's frame calls inside the run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "AE_GeneralPlug.h"
#include "BenchProjects.h"
#include "Crop.h"
#include "Host.h"
#include "Renderer.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The render suite as the host serves it, with its frame checkout and checkin timed. Checkin is
// counted with the render because it frees the frame the render allocated: both are host work.
struct FrameCallTimer {
    static inline AEGP_RenderSuite3 table{};
    static inline AEGP_RenderSuite3 original{};
    static inline double seconds = 0;
    static inline int frames = 0;

    static A_Err SPAPI render(AEGP_RenderOptionsH options, AEGP_RenderSuiteCheckForCancel cancel,
                              AEGP_CancelRefcon refcon, AEGP_FrameReceiptH* receipt) {
        const Clock::time_point start = Clock::now();
        A_Err err = original.AEGP_RenderAndCheckoutFrame(options, cancel, refcon, receipt);
        seconds += secondsSince(start);
        ++frames;
        return err;
    }
    static A_Err SPAPI checkin(AEGP_FrameReceiptH receipt) {
        const Clock::time_point start = Clock::now();
        A_Err err = original.AEGP_CheckinFrame(receipt);
        seconds += secondsSince(start);
        return err;
    }

    // Serves the timed table in place of the host's own under the same name and version.
    static void install(sim::Host& host) {
        original = *static_cast<const AEGP_RenderSuite3*>(
            host.findSuite(kAEGPRenderSuite, kAEGPRenderSuiteVersion3));
        table = original;
        table.AEGP_RenderAndCheckoutFrame = &render;
        table.AEGP_CheckinFrame = &checkin;
        host.addSuite(kAEGPRenderSuite, kAEGPRenderSuiteVersion3, &table);
    }
};

void durationCase(benchmark::State& state, int bits) {
    const sim::Project original = bench::durationProject(bits);
    const sim::Id shot = original.activeItem;
    const sim::Comp& comp = original.findItem(shot)->comp;
    const int64_t rate = static_cast<int64_t>(comp.frameRate);
    const int frames = static_cast<int>(comp.duration.toDouble() * comp.frameRate + 0.5);

    double runSeconds = 0, hostFrameSeconds = 0;
    int runs = 0;
    {
        sim::Host host;
        host.log().setRecording(false);  // as zentrim-host runs it: counts, no record
        FrameCallTimer::install(host);
        for (auto _ : state) {
            // A fresh, uncropped project each run; the reset stays outside the manual time.
            host.project() = original;
            host.forgetUndo();
            host.log().clear();
            host.events().progress.clear();
            host.handles().releaseAll();
            FrameCallTimer::seconds = 0;
            FrameCallTimer::frames = 0;

            const Clock::time_point start = Clock::now();
            bool firstRun = true;
            const A_Err err = crop::cropDuration(host.basicSuite(), 1, &firstRun);
            const double elapsed = secondsSince(start);
            state.SetIterationTime(elapsed);

            if (err != A_Err_NONE || FrameCallTimer::frames != frames ||
                host.project().findItem(shot)->comp.width == comp.width) {
                state.SkipWithError(("the crop over the duration failed: error " +
                                     std::to_string(err) + ", " +
                                     std::to_string(FrameCallTimer::frames) + " frames")
                                        .c_str());
                break;
            }
            runSeconds += elapsed;
            hostFrameSeconds += FrameCallTimer::seconds;
            ++runs;
        }
    }
    if (runs == 0) return;

    // The renderer alone, without the suites around it, on every frame of the composition, into
    // the same memory frame after frame as the render suite does.
    double renderSeconds = 0;
    int rendered = 0;
    sim::ReusableFrame frame;
    sim::RenderScratch scratch;
    for (int f = 0; f < frames; ++f) {
        const Clock::time_point start = Clock::now();
        sim::renderComp(original, shot, sim::Rational(f, rate), 1, 1, frame, scratch);
        renderSeconds += secondsSince(start);
        benchmark::DoNotOptimize(frame.world.data.data());
        ++rendered;
    }

    const double perRunFrame = 1e3 / (static_cast<double>(runs) * frames);
    state.counters["frames"] = frames;
    state.counters["render_ms_per_frame"] = renderSeconds * 1e3 / rendered;
    state.counters["host_frame_ms_per_frame"] = hostFrameSeconds * perRunFrame;
    state.counters["plugin_ms_per_frame"] = (runSeconds - hostFrameSeconds) * perRunFrame;
    state.counters["total_ms_per_frame"] = runSeconds * perRunFrame;
}

// The crop over the duration of a composition a full-frame layer covers from frame 10: the frames
// rendered and the whole run's time. Once the union holds the whole frame nothing more is
// rendered, so the run stops paying for frames that cannot change the crop.
void coveredCase(benchmark::State& state) {
    const sim::Project original = bench::coveredDurationProject();
    const sim::Comp& comp = original.findItem(original.activeItem)->comp;
    const int frames = static_cast<int>(comp.duration.toDouble() * comp.frameRate + 0.5);
    int rendered = 0;
    sim::Host host;
    host.log().setRecording(false);
    FrameCallTimer::install(host);
    for (auto _ : state) {
        host.project() = original;
        host.forgetUndo();
        host.log().clear();
        host.events().progress.clear();
        host.handles().releaseAll();
        FrameCallTimer::frames = 0;
        const Clock::time_point start = Clock::now();
        bool firstRun = true;
        const A_Err err = crop::cropDuration(host.basicSuite(), 1, &firstRun);
        state.SetIterationTime(secondsSince(start));
        if (err != A_Err_NONE) {
            state.SkipWithError(
                ("the crop over the duration failed: error " + std::to_string(err)).c_str());
            break;
        }
        rendered = FrameCallTimer::frames;
    }
    state.counters["frames"] = frames;
    state.counters["rendered"] = rendered;
}

bool registerDurationCases() {
    for (int bits : {8, 32})
        benchmark::RegisterBenchmark(
            ("Duration/" + std::to_string(bits) + "/3840x2160/300frames").c_str(), durationCase,
            bits)
            ->Iterations(1)
            ->Repetitions(3)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Duration/8/3840x2160/300frames/coveredFromFrame10", coveredCase)
        ->Iterations(1)
        ->Repetitions(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    return true;
}

const bool kDurationCasesRegistered = registerDurationCases();

}  // namespace
