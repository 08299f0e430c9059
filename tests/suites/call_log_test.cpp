// The call log: counts always, the record and the arguments' text only when asked, an observer of
// every finished call, nested calls in each mode, bounded problems, and the bounded progress
// record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Host.h"
#include "Trampoline.h"

namespace {

using namespace sim;

class CallLogThroughSuites : public ::testing::Test {
  protected:
    Host host;
    const AEGP_ItemSuite8* items = nullptr;
    const AEGP_CommandSuite1* commands = nullptr;
    AEGP_ItemH solid = nullptr;

    void SetUp() override {
        Item it;
        it.id = host.project().newId();
        it.type = ItemType::Solid;
        it.name = "Red";
        it.width = 200;
        it.height = 100;
        host.project().items.push_back(it);
        solid = host.itemHandle(it.id);
        acquire(kAEGPItemSuite, kAEGPItemSuiteVersion8, &items);
        acquire(kAEGPCommandSuite, kAEGPCommandSuiteVersion1, &commands);
        host.log().clear();
    }
    template <typename T>
    void acquire(const char* name, int version, const T** out) {
        const void* p = nullptr;
        ASSERT_EQ(host.basicSuite()->AcquireSuite(name, version, &p), A_Err_NONE) << name;
        *out = static_cast<const T*>(p);
    }
    A_Err dimensions() {
        A_long w = 0, h = 0;
        return items->AEGP_GetItemDimensions(solid, &w, &h);
    }
};

TEST_F(CallLogThroughSuites, CountsEveryCallAndKeepsTheRecordOnlyWhileRecording) {
    ASSERT_TRUE(host.log().recording()) << "tests read the record: it is on by default";
    dimensions();
    host.log().setRecording(false);
    EXPECT_FALSE(host.log().wantsDetail());
    dimensions();
    dimensions();
    host.log().setRecording(true);
    dimensions();
    EXPECT_EQ(host.log().callCount(), 4u);
    ASSERT_EQ(host.log().calls().size(), 2u);
    EXPECT_EQ(host.log().calls()[0].index, 0);
    EXPECT_EQ(host.log().calls()[0].args, "'Red'#1 -> 200 100");
    EXPECT_EQ(host.log().calls()[1].index, 3) << "positions count the calls not recorded";
    host.log().clear();
    EXPECT_EQ(host.log().callCount(), 0u);
    EXPECT_TRUE(host.log().calls().empty());
}

TEST_F(CallLogThroughSuites, FaultsCountCallsThatAreNotRecorded) {
    host.log().setRecording(false);
    host.log().faults.failAt = 2;
    host.log().faults.error = 42;
    EXPECT_EQ(dimensions(), A_Err_NONE);
    EXPECT_EQ(dimensions(), A_Err_NONE);
    EXPECT_EQ(dimensions(), 42);
    EXPECT_EQ(dimensions(), A_Err_NONE);
    host.log().faults = FaultPlan{};
    host.log().faults.failName = "AEGP_GetItemDimensions";
    host.log().faults.error = 7;
    EXPECT_EQ(dimensions(), 7);
    EXPECT_EQ(dimensions(), A_Err_NONE) << "only once by default";
}

TEST_F(CallLogThroughSuites, TheObserverSeesEveryFinishedCallWithItsText) {
    host.log().setRecording(false);
    std::vector<CallRecord> seen;
    host.log().onCall = [&](const CallRecord& r) { seen.push_back(r); };
    EXPECT_TRUE(host.log().wantsDetail());
    host.log().faults.failAt = 1;
    dimensions();
    dimensions();
    items->AEGP_GetItemDimensions(solid, nullptr, nullptr);
    EXPECT_TRUE(host.log().calls().empty());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].name, "AEGP_GetItemDimensions");
    EXPECT_EQ(seen[0].args, "'Red'#1 -> 200 100");
    EXPECT_EQ(seen[0].result, A_Err_NONE);
    EXPECT_TRUE(seen[1].injected);
    EXPECT_EQ(seen[1].index, 1);
    EXPECT_EQ(seen[2].result, A_Err_PARAMETER);
    EXPECT_EQ(seen[2].problem, "width is null");
    EXPECT_EQ(host.log().problems(),
              std::vector<std::string>{"AEGP_GetItemDimensions: width is null"});
}

struct NestedCase {
    const char* name;
    bool record, observe;
};

TEST_F(CallLogThroughSuites, NestedCallsKeepTheirOrderInEveryMode) {
    static const AEGP_ItemSuite8* inner = nullptr;
    static AEGP_ItemH innerItem = nullptr;
    inner = items;
    innerItem = solid;
    AEGP_CommandHook hook = [](AEGP_GlobalRefcon, AEGP_CommandRefcon, AEGP_Command,
                               AEGP_HookPriority, A_Boolean, A_Boolean* handled) -> A_Err {
        A_long w = 0, h = 0;
        *handled = 1;
        inner->AEGP_GetItemDimensions(innerItem, &w, nullptr);  // a problem inside the hook
        return inner->AEGP_GetItemDimensions(innerItem, &w, &h);
    };
    host.menus().commandHooks.push_back({1, AEGP_HP_BeforeAE, 3000, hook, nullptr});
    const NestedCase cases[] = {
        {"recording", true, false}, {"observed", false, true}, {"counted", false, false}};
    for (const NestedCase& c : cases) {
        host.log().clear();
        host.log().setRecording(c.record);
        std::vector<std::pair<int, std::string>> finished;
        host.log().onCall = nullptr;
        if (c.observe)
            host.log().onCall = [&](const CallRecord& r) {
                finished.emplace_back(r.index, r.name);
            };
        EXPECT_EQ(commands->AEGP_DoCommand(3000), A_Err_NONE) << c.name;
        EXPECT_EQ(host.log().callCount(), 3u) << c.name;
        EXPECT_EQ(host.log().problems(),
                  std::vector<std::string>{"AEGP_GetItemDimensions: height is null"})
            << c.name;
        if (c.record) {
            ASSERT_EQ(host.log().calls().size(), 3u);
            EXPECT_EQ(host.log().calls()[0].name, "AEGP_DoCommand") << "in the order calls began";
            EXPECT_EQ(host.log().calls()[0].args, "3000");
            EXPECT_EQ(host.log().calls()[1].problem, "height is null");
            EXPECT_EQ(host.log().calls()[2].result, A_Err_NONE);
        } else {
            EXPECT_TRUE(host.log().calls().empty()) << c.name;
        }
        if (c.observe) {
            const std::vector<std::pair<int, std::string>> want = {{1, "AEGP_GetItemDimensions"},
                                                                   {2, "AEGP_GetItemDimensions"},
                                                                   {0, "AEGP_DoCommand"}};
            EXPECT_EQ(finished, want) << "in the order calls ended";
        }
    }
}

// An argument that counts how often it is turned into text.
struct Costly {
    int* count;
};
std::ostream& operator<<(std::ostream& o, const Costly& c) {
    ++*c.count;
    return o << "costly";
}

TEST(CallLog, ArgumentsAreFormattedOnlyWhenWanted) {
    Host host;
    int formatted = 0;
    auto call = [&] {
        return hostCall("Test.Call", [&](Host& h) {
            args(h, Costly{&formatted}, 1.5);
            return A_Err_NONE;
        });
    };
    host.log().setRecording(false);
    call();
    EXPECT_EQ(formatted, 0);
    host.log().setRecording(true);
    call();
    EXPECT_EQ(formatted, 1);
    EXPECT_EQ(host.log().calls().back().args, "costly 1.5");
}

TEST(CallLog, ProblemsAreAlwaysKeptUpToTheirLimitAndCountedBeyond) {
    for (bool record : {true, false}) {
        CallLog log;
        log.setRecording(record);
        std::vector<CallRecord> seen;
        log.onCall = [&](const CallRecord& r) { seen.push_back(r); };
        const size_t n = CallLog::kMaxProblems + 500;
        for (size_t i = 0; i < n; ++i)
            log.problem("note " + std::to_string(i));
        EXPECT_EQ(log.problemCount(), n);
        const std::vector<std::string> p = log.problems();
        ASSERT_EQ(p.size(), CallLog::kMaxProblems + 1);
        EXPECT_EQ(p.front(), "(host): note 0");
        EXPECT_EQ(p.back(), "(host): 500 more problems were noticed and not kept");
        // A note of its own takes a position among the calls, as before a clear.
        EXPECT_EQ(log.callCount(), n);
        EXPECT_EQ(seen.size(), n);
        EXPECT_EQ(seen.back().name, "(host)");
        EXPECT_EQ(log.calls().size(), record ? n : 0u);
    }
}

TEST(ProgressRecord, CountsEverythingAndKeepsTheFirstEvents) {
    ProgressRecord r;
    EXPECT_TRUE(r.empty());
    r.add({ProgressEvent::Open, 0});
    const int updates = static_cast<int>(ProgressRecord::kMaxEvents) + 20;
    for (int i = 0; i < updates; ++i)
        r.add({ProgressEvent::Percent, i % 100 + 1});
    r.add({ProgressEvent::Close, 0});
    EXPECT_EQ(r.opens(), 1u);
    EXPECT_EQ(r.closes(), 1u);
    EXPECT_EQ(r.percentUpdates(), static_cast<size_t>(updates));
    EXPECT_EQ(r.lastPercent(), (updates - 1) % 100 + 1);
    EXPECT_EQ(r.size(), ProgressRecord::kMaxEvents);
    EXPECT_EQ(r.dropped(), static_cast<size_t>(updates) + 2 - ProgressRecord::kMaxEvents);
    EXPECT_EQ(r.front().kind, ProgressEvent::Open);
    EXPECT_EQ(r.back().kind, ProgressEvent::Close) << "the newest event, though not kept";
    r.clear();
    EXPECT_TRUE(r.empty());
    EXPECT_EQ(r.size(), 0u);
}

}  // namespace
