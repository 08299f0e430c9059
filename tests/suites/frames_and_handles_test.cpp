// Frames and handles over long runs: checked-in frames are reused without a changed pixel, handle
// slots serve again under a new generation, and a stale handle is refused however often its slot
// was reused; the host's memory follows what is alive, not what was made.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Host.h"
#include "Renderer.h"

namespace {

using namespace sim;

TEST(HandleRegistry, SlotsServeAgainAndStaleValuesAreRefused) {
    HandleRegistry reg;
    HandleRecord* first = reg.make(HandleKind::Collection, "first");
    void* stale = first->value();
    reg.release(first);
    EXPECT_EQ(reg.find(stale, HandleKind::Collection), nullptr);
    EXPECT_TRUE(reg.known(stale)) << "a released handle is still one of ours";

    HandleRecord* second = reg.make(HandleKind::Collection, "second");
    EXPECT_EQ(second, first) << "the slot serves again";
    EXPECT_NE(second->value(), stale);
    EXPECT_EQ(reg.find(stale, HandleKind::Collection), nullptr);
    EXPECT_EQ(reg.find(second->value(), HandleKind::Collection), second);
    EXPECT_EQ(reg.find(second->value(), HandleKind::Stream), nullptr);
    EXPECT_EQ(reg.leaks(), std::vector<std::string>{"collection: second"});

    for (int i = 0; i < 100000; ++i)
        reg.release(reg.make(HandleKind::MemHandle, "block"));
    EXPECT_EQ(reg.slots(), 2u);
    EXPECT_EQ(reg.find(stale, HandleKind::MemHandle), nullptr);
    reg.release(second);
    reg.release(second);  // twice: the slot must not be handed out twice
    HandleRecord* a = reg.make(HandleKind::Collection, "a");
    HandleRecord* b = reg.make(HandleKind::Collection, "b");
    EXPECT_NE(a, b);
}

TEST(HandleRegistry, ObjectHandlesStayTheSameAndAreNeverReused) {
    HandleRegistry reg;
    HandleRecord* item = reg.object(HandleKind::Item, 7);
    void* value = item->value();
    EXPECT_EQ(reg.object(HandleKind::Item, 7), item);
    EXPECT_NE(reg.object(HandleKind::Layer, 7), item);
    reg.release(item);
    EXPECT_NE(reg.make(HandleKind::Item, "other"), item);
    EXPECT_EQ(reg.find(value, HandleKind::Item), nullptr);
    EXPECT_EQ(reg.find(nullptr, HandleKind::Item), nullptr);
    int local = 0;
    EXPECT_FALSE(reg.known(&local));
}

class Frames : public ::testing::Test {
  protected:
    Host host;
    const AEGP_RenderOptionsSuite3* options = nullptr;
    const AEGP_RenderSuite3* render = nullptr;
    const AEGP_WorldSuite3* worlds = nullptr;
    Id comp = 0;

    void SetUp() override {
        acquire(kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3, &options);
        acquire(kAEGPRenderSuite, kAEGPRenderSuiteVersion3, &render);
        acquire(kAEGPWorldSuite, kAEGPWorldSuiteVersion3, &worlds);
        Project& p = host.project();
        p.bitsPerChannel = 16;
        Item solid;
        solid.id = p.newId();
        solid.type = ItemType::Solid;
        solid.name = "Box";
        solid.width = 30;
        solid.height = 20;
        solid.color = {0.2, 0.6, 1, 1};
        p.items.push_back(solid);
        Item c;
        c.id = comp = p.newId();
        c.type = ItemType::Comp;
        c.name = "Shot";
        c.comp.width = 120;
        c.comp.height = 80;
        c.comp.duration = Rational(1);
        Layer l;
        l.id = p.newId();
        l.source = solid.id;
        l.outPoint = Rational(1);
        l.position.keys = {{Rational(0), {0, 0, 0}, Interp::Linear, Interp::Linear},
                           {Rational(1), {90, 60, 0}, Interp::Linear, Interp::Linear}};
        c.comp.layers.push_back(l);
        p.items.push_back(c);
    }
    template <typename T>
    void acquire(const char* name, int version, const T** out) {
        const void* p = nullptr;
        ASSERT_EQ(host.basicSuite()->AcquireSuite(name, version, &p), A_Err_NONE) << name;
        *out = static_cast<const T*>(p);
    }
};

// New render options start at the composition's preview resolution, or, in the host that starts
// every render at full resolution, at (1, 1).
TEST_F(Frames, NewRenderOptionsStartAtTheResolutionTheHostModelSays) {
    struct Case {
        HostModel::RenderDownsample model;
        int previewH, previewV;
        A_short h, v;
    } cases[] = {
        {HostModel::RenderDownsample::Preview, 1, 1, 1, 1},
        {HostModel::RenderDownsample::Preview, 2, 3, 2, 3},
        {HostModel::RenderDownsample::Full, 2, 3, 1, 1},
        {HostModel::RenderDownsample::Full, 1, 1, 1, 1},
    };
    for (const Case& k : cases) {
        host.model().renderDownsample = k.model;
        host.project().findItem(comp)->comp.resolutionH = k.previewH;
        host.project().findItem(comp)->comp.resolutionV = k.previewV;
        AEGP_RenderOptionsH opts = nullptr;
        ASSERT_EQ(options->AEGP_NewFromItem(1, host.itemHandle(comp), &opts), A_Err_NONE);
        A_short h = 0, v = 0;
        EXPECT_EQ(options->AEGP_GetDownsampleFactor(opts, &h, &v), A_Err_NONE);
        EXPECT_EQ(std::make_pair(h, v), std::make_pair(k.h, k.v))
            << "preview " << k.previewH << "x" << k.previewV;
        ASSERT_EQ(options->AEGP_Dispose(opts), A_Err_NONE);
    }
}

TEST_F(Frames, CheckedInFramesAreReusedAndEveryFrameIsTheOneRenderedAfresh) {
    AEGP_RenderOptionsH opts = nullptr;
    ASSERT_EQ(options->AEGP_NewFromItem(1, host.itemHandle(comp), &opts), A_Err_NONE);
    AEGP_WorldH earlier = nullptr;
    const uint8_t* memory = nullptr;
    for (int f = 0; f < 30; ++f) {
        ASSERT_EQ(options->AEGP_SetTime(opts, {f, 30}), A_Err_NONE);
        AEGP_FrameReceiptH receipt = nullptr;
        ASSERT_EQ(render->AEGP_RenderAndCheckoutFrame(opts, nullptr, nullptr, &receipt),
                  A_Err_NONE);
        AEGP_WorldH world = nullptr;
        ASSERT_EQ(render->AEGP_GetReceiptWorld(receipt, &world), A_Err_NONE);
        PF_Pixel16* base = nullptr;
        ASSERT_EQ(worlds->AEGP_GetBaseAddr16(world, &base), A_Err_NONE);
        if (f > 0) {
            EXPECT_EQ(reinterpret_cast<const uint8_t*>(base), memory) << "frame " << f;
        }
        memory = reinterpret_cast<const uint8_t*>(base);
        const World fresh = renderComp(host.project(), comp, Rational(f, 30), 1, 1);
        EXPECT_EQ(std::vector<uint8_t>(memory, memory + fresh.data.size()), fresh.data)
            << "frame " << f;
        ASSERT_EQ(render->AEGP_CheckinFrame(receipt), A_Err_NONE);
        A_long w = 0, h = 0;
        EXPECT_EQ(worlds->AEGP_GetSize(world, &w, &h), A_Err_PARAMETER)
            << "a checked-in frame's world is gone";
        if (earlier) {
            EXPECT_EQ(worlds->AEGP_GetSize(earlier, &w, &h), A_Err_PARAMETER);
        }
        earlier = world;
    }
    ASSERT_EQ(options->AEGP_Dispose(opts), A_Err_NONE);
    EXPECT_LE(host.frames().kept(), FramePool::kKept);
    EXPECT_LE(host.handles().slots(), 8u) << "handles of thirty frames in a few slots";
    EXPECT_TRUE(host.handles().leaks().empty());
}

TEST_F(Frames, FramesHeldAtOnceAreApartAndAFailedRenderKeepsNothing) {
    AEGP_RenderOptionsH opts = nullptr;
    ASSERT_EQ(options->AEGP_NewFromItem(1, host.itemHandle(comp), &opts), A_Err_NONE);
    AEGP_FrameReceiptH a = nullptr, b = nullptr;
    ASSERT_EQ(render->AEGP_RenderAndCheckoutFrame(opts, nullptr, nullptr, &a), A_Err_NONE);
    ASSERT_EQ(options->AEGP_SetTime(opts, {1, 2}), A_Err_NONE);
    ASSERT_EQ(render->AEGP_RenderAndCheckoutFrame(opts, nullptr, nullptr, &b), A_Err_NONE);
    AEGP_WorldH wa = nullptr, wb = nullptr;
    render->AEGP_GetReceiptWorld(a, &wa);
    render->AEGP_GetReceiptWorld(b, &wb);
    PF_Pixel16 *pa = nullptr, *pb = nullptr;
    worlds->AEGP_GetBaseAddr16(wa, &pa);
    worlds->AEGP_GetBaseAddr16(wb, &pb);
    EXPECT_NE(pa, pb);
    EXPECT_EQ(pa[0].alpha, 32768) << "frame 0: the box at the top left";
    EXPECT_EQ(pb[0].alpha, 0) << "half-way: moved on";
    render->AEGP_CheckinFrame(a);
    render->AEGP_CheckinFrame(b);

    // The composition now contains itself: the render fails and no frame is handed out.
    Item* c = host.project().findItem(comp);
    Layer self = c->comp.layers[0];
    self.id = host.project().newId();
    self.source = comp;
    c->comp.layers.push_back(self);
    AEGP_FrameReceiptH failed = nullptr;
    EXPECT_NE(render->AEGP_RenderAndCheckoutFrame(opts, nullptr, nullptr, &failed), A_Err_NONE);
    EXPECT_EQ(failed, nullptr);
    options->AEGP_Dispose(opts);
    EXPECT_TRUE(host.handles().leaks().empty());
    EXPECT_LE(host.frames().kept(), FramePool::kKept);
}

// The log names the suite each call came through, even where two suites' members share a name:
// a frame's world refuses the World suite's Dispose, render options take the Render Options one.
TEST_F(Frames, EachCallIsRecordedWithTheSuiteItCameThrough) {
    AEGP_RenderOptionsH opts = nullptr;
    ASSERT_EQ(options->AEGP_NewFromItem(1, host.itemHandle(comp), &opts), A_Err_NONE);
    AEGP_FrameReceiptH receipt = nullptr;
    ASSERT_EQ(render->AEGP_RenderAndCheckoutFrame(opts, nullptr, nullptr, &receipt), A_Err_NONE);
    AEGP_WorldH world = nullptr;
    ASSERT_EQ(render->AEGP_GetReceiptWorld(receipt, &world), A_Err_NONE);
    host.log().clear();
    EXPECT_EQ(worlds->AEGP_Dispose(world), A_Err_PARAMETER);
    render->AEGP_CheckinFrame(receipt);
    options->AEGP_Dispose(opts);
    host.basicSuite()->ReleaseSuite(kAEGPWorldSuite, kAEGPWorldSuiteVersion3);
    host.log().problem("a note of the host's own");
    std::vector<std::pair<std::string, std::string>> seen;
    for (const CallRecord& call : host.log().calls())
        seen.emplace_back(call.suite, call.name);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                        {"WorldSuite", "AEGP_Dispose"},
                        {"RenderSuite", "AEGP_CheckinFrame"},
                        {"RenderOptionsSuite", "AEGP_Dispose"},
                        {"SPBasic", "SPBasic.ReleaseSuite"},
                        {"host", "(host)"}}));
}

}  // namespace
