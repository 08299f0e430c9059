// A suite call's own cost through the simulator's trampoline (count, fault check, handle check,
// forward to the model, argument text, record), in nanoseconds per call, with the call log
// counting only (as zentrim-host runs), keeping its record (as the tests do), or streaming every
// call to an observer (as a trace does).
#include <benchmark/benchmark.h>

#include <string>

#include "AE_GeneralPlug.h"
#include "BenchProjects.h"
#include "Host.h"

namespace {

enum class LogMode { Count, Record, Observe };

// Entries the recording case keeps before it clears the log, so that a long run holds a bounded
// record; clearing is part of what recording costs.
constexpr size_t kRecordBatch = 1 << 16;

template <typename Call>
void suiteCallCase(benchmark::State& state, LogMode mode, Call call) {
    sim::Host host;
    host.project() = bench::usesProject(100, 10, 10);
    host.log().setRecording(mode == LogMode::Record);
    size_t observed = 0;
    if (mode == LogMode::Observe)
        host.log().onCall = [&](const sim::CallRecord& r) { observed += r.args.size(); };
    const AEGP_ItemSuite8* items = nullptr;
    host.basicSuite()->AcquireSuite(kAEGPItemSuite, kAEGPItemSuiteVersion8,
                                    reinterpret_cast<const void**>(&items));
    AEGP_ProjectH project = host.projectHandle();
    AEGP_ItemH item = host.itemHandle(bench::itemId(host.project(), "Comp 50"));
    for (auto _ : state) {
        if (call(*items, project, item) != A_Err_NONE) {
            state.SkipWithError("the call failed");
            break;
        }
        if (host.log().calls().size() >= kRecordBatch) host.log().clear();
    }
    benchmark::DoNotOptimize(observed);
}

A_Err dimensions(const AEGP_ItemSuite8& s, AEGP_ProjectH, AEGP_ItemH item) {
    A_long w = 0, h = 0;
    A_Err err = s.AEGP_GetItemDimensions(item, &w, &h);
    benchmark::DoNotOptimize(w);
    return err;
}

A_Err nextItem(const AEGP_ItemSuite8& s, AEGP_ProjectH project, AEGP_ItemH item) {
    AEGP_ItemH next = nullptr;
    A_Err err = s.AEGP_GetNextProjItem(project, item, &next);
    benchmark::DoNotOptimize(next);
    return err;
}

bool registerSuiteCallCases() {
    const std::pair<const char*, LogMode> modes[] = {
        {"count", LogMode::Count}, {"record", LogMode::Record}, {"observe", LogMode::Observe}};
    for (const auto& [name, mode] : modes) {
        const LogMode m = mode;
        benchmark::RegisterBenchmark(
            (std::string("SuiteCall/GetItemDimensions/") + name).c_str(),
            [m](benchmark::State& st) { suiteCallCase(st, m, dimensions); })
            ->Unit(benchmark::kNanosecond);
        benchmark::RegisterBenchmark((std::string("SuiteCall/GetNextProjItem/") + name).c_str(),
                                     [m](benchmark::State& st) { suiteCallCase(st, m, nextItem); })
            ->Unit(benchmark::kNanosecond);
    }
    return true;
}

const bool kSuiteCallCasesRegistered = registerSuiteCallCases();

}  // namespace
