// Applying a crop through the simulator's suites: the composition is resized, its layers carried
// so that content at (left, top) lands at the origin, and every use corrected so that nothing
// moves on screen — proven by rendering before and after.
#include "Crop.h"
#include "PixelScan.h"
#include "Scenes.h"
#include "SimFixture.h"

namespace {

const A_FloatRect kNoLimit = {-1, -1, -1, -1};

struct Frames {
    std::vector<sim::World> main, other, inner;
};

Frames renderAll(simtest::Sim& sim) {
    Frames f;
    for (int tenth : {0, 5, 12}) {
        sim::Rational t(tenth, 10);
        f.main.push_back(sim.render("Main", t));
        f.other.push_back(sim.render("Other", t));
        f.inner.push_back(sim.render("Inner", t));
    }
    return f;
}

A_Err applyCrop(simtest::Sim& sim, crop::CroppingBounds b) {
    AEGP_ItemH item = sim.itemH("Inner");
    AEGP_RenderOptionsH noOptions = nullptr;
    A_Time measured = {0, 1};
    sim.host.startUndoGroup("Zentrim");
    A_Err err =
        crop::finishCropping(sim.host.basicSuite(), 1, &item, b, measured, 0, &noOptions, 0, 0);
    sim.host.endUndoGroup();
    return err;
}

TEST(ApplyCrop, ResizesAndMovesContentToTheOriginWhileUsesStayPut) {
    simtest::Sim sim;
    sim.load(simtest::usedThreeWays());
    sim::Project original = sim.host.project();
    Frames before = renderAll(sim);

    crop::CroppingBounds b{80, 179, 100, 239, 400, 300};  // top, bottom, left, right, width, height
    ASSERT_EQ(applyCrop(sim, b), A_Err_NONE) << sim.host.log().problems().size();

    EXPECT_EQ(sim.item("Inner").comp.width, 140);
    EXPECT_EQ(sim.item("Inner").comp.height, 100);
    Frames after = renderAll(sim);
    for (size_t i = 0; i < after.main.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        EXPECT_TRUE(simtest::samePixels(before.main[i], after.main[i], 0, 0, "apply_main"));
        EXPECT_TRUE(simtest::samePixels(before.other[i], after.other[i], 0, 0, "apply_other"));
        // The cropped composition shows what sat at (left, top) at its origin.
        EXPECT_TRUE(simtest::samePixels(before.inner[i], after.inner[i], 100, 80, "apply_inner"));
    }

    // The temporary null is gone from the composition and from the project.
    EXPECT_EQ(sim.item("Inner").comp.layers.size(), 5u);
    EXPECT_EQ(sim.host.project().items.size(), original.items.size());
    EXPECT_EQ(sim.layer("Inner", "Child").parent, sim.layer("Inner", "Parent").id)
        << "parents are kept";
    EXPECT_TRUE(sim.host.handles().leaks().empty());
    EXPECT_TRUE(sim.host.log().problems().empty());
    EXPECT_TRUE(sim.host.unbalancedSuites().empty());

    ASSERT_TRUE(sim.host.undo());
    EXPECT_EQ(sim::describeDifference(original, sim.host.project()), "");
}

// The renderer draws no open outline, so the open mask of "Use A" is checked by its numbers: every
// vertex, the last one (index N of an N-segment open path) included, moves by (-left, -top), and
// the tangents keep their lengths.
TEST(ApplyCrop, OpenOutlinesOfAUseAreCorrectedAtEveryVertex) {
    simtest::Sim sim;
    sim.load(simtest::usedThreeWays());
    crop::CroppingBounds b{80, 179, 100, 239, 400, 300};
    ASSERT_EQ(applyCrop(sim, b), A_Err_NONE);
    const sim::Mask& open = sim.layer("Main", "Use A").masks[0];
    ASSERT_EQ(open.name, "Open");
    ASSERT_FALSE(open.path.keyed());
    const sim::MaskPath& path = open.path.value;
    EXPECT_FALSE(path.closed);
    const sim::Vec2 vertices[] = {{-100, -80}, {200, -60}, {250, 200}};
    const sim::Vec2 in[] = {{0, 0}, {0, 0}, {-5, 3}};
    const sim::Vec2 out[] = {{4, 1}, {0, 0}, {0, 0}};
    ASSERT_EQ(path.vertices.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE("vertex " + std::to_string(i));
        EXPECT_NEAR(path.vertices[i].x, vertices[i].x, 1e-9);
        EXPECT_NEAR(path.vertices[i].y, vertices[i].y, 1e-9);
        EXPECT_NEAR(path.inTangents[i].x, in[i].x, 1e-9);
        EXPECT_NEAR(path.inTangents[i].y, in[i].y, 1e-9);
        EXPECT_NEAR(path.outTangents[i].x, out[i].x, 1e-9);
        EXPECT_NEAR(path.outTangents[i].y, out[i].y, 1e-9);
    }
}

TEST(ApplyCrop, NegativeEdgesGrowTheCompositionAndMoveContentRightAndDown) {
    simtest::Sim sim;
    sim.load(simtest::usedThreeWays());
    Frames before = renderAll(sim);
    crop::CroppingBounds b{-20, 309, -30, 409, 400, 300};
    ASSERT_EQ(applyCrop(sim, b), A_Err_NONE);
    EXPECT_EQ(sim.item("Inner").comp.width, 440);
    EXPECT_EQ(sim.item("Inner").comp.height, 330);
    Frames after = renderAll(sim);
    EXPECT_TRUE(simtest::samePixels(before.main[1], after.main[1], 0, 0, "grow_main"));
    EXPECT_TRUE(simtest::samePixels(before.inner[1], after.inner[1], -30, -20, "grow_inner"));
    EXPECT_TRUE(sim.host.handles().leaks().empty());
}

TEST(ApplyCrop, PixelAspectRatioIsKeptAndFractionalSizesTruncate) {
    simtest::Sim sim;
    sim.load(simtest::usedThreeWays());
    sim.item("Inner").comp.pixelAspectNum = 9;
    sim.item("Inner").comp.pixelAspectDen = 10;
    crop::CroppingBounds b{20.5, 69.75, 10.25, 109.5, 400, 300};
    ASSERT_EQ(applyCrop(sim, b), A_Err_NONE);
    EXPECT_EQ(sim.item("Inner").comp.width, 100);  // 109.5 - 10.25 + 1 = 100.25
    EXPECT_EQ(sim.item("Inner").comp.height, 50);  // 69.75 - 20.5 + 1 = 50.25
    EXPECT_EQ(sim.item("Inner").comp.pixelAspectNum, 9);
    EXPECT_EQ(sim.item("Inner").comp.pixelAspectDen, 10);
    // The null carried every layer by the unrounded offsets.
    EXPECT_DOUBLE_EQ(sim.layer("Inner", "Box").position.value.x, 150 - 10.25);
    EXPECT_DOUBLE_EQ(sim.layer("Inner", "Box").position.value.y, 120 - 20.5);
    EXPECT_DOUBLE_EQ(sim.layer("Inner", "Child").position.value.x, 20)
        << "a child moves with its parent only";
}

TEST(ApplyCrop, RenderOptionsAreRestoredAndDisposed) {
    simtest::Sim sim;
    sim.load(simtest::usedThreeWays());
    sim.item("Inner").comp.resolutionH = 2;
    sim.item("Inner").comp.resolutionV = 2;
    auto* ro = sim.suite<AEGP_RenderOptionsSuite3>(kAEGPRenderOptionsSuite,
                                                   kAEGPRenderOptionsSuiteVersion3);
    for (unsigned char fullRes : {0, 1}) {
        AEGP_RenderOptionsH options = nullptr;
        ASSERT_EQ(ro->AEGP_NewFromItem(1, sim.itemH("Inner"), &options), A_Err_NONE);
        ASSERT_EQ(ro->AEGP_SetDownsampleFactor(options, 1, 1), A_Err_NONE);
        AEGP_ItemH item = sim.itemH("Inner");
        crop::CroppingBounds b{0, 299, 0, 399, 400, 300};
        A_Time t = {0, 1};
        ASSERT_EQ(
            crop::finishCropping(sim.host.basicSuite(), 1, &item, b, t, fullRes, &options, 2, 2),
            A_Err_NONE);
        EXPECT_EQ(options, nullptr);
        bool restored = false;
        for (const sim::CallRecord& c : sim.host.log().calls())
            if (c.name == "AEGP_SetDownsampleFactor" && c.args == "2 2") restored = true;
        EXPECT_EQ(restored, fullRes == 1);
        EXPECT_TRUE(sim.host.handles().leaks().empty());
        sim.host.log().clear();
    }
    sim.host.basicSuite()->ReleaseSuite(kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3);
}

TEST(ApplyCrop, CompositionWithoutLayersStillChangesSize) {
    simtest::Sim sim;
    sim.load(R"({"format": "zentrim-project", "version": 1,
                 "items": [{"type": "comp", "name": "Empty", "width": 100, "height": 100,
                            "frameRate": 30, "duration": 1, "layers": []}]})");
    AEGP_ItemH item = sim.itemH("Empty");
    AEGP_RenderOptionsH none = nullptr;
    A_Time t = {0, 1};
    ASSERT_EQ(crop::finishCropping(sim.host.basicSuite(), 1, &item, {10, 19, 5, 54, 100, 100}, t, 0,
                                   &none, 0, 0),
              A_Err_NONE);
    EXPECT_EQ(sim.item("Empty").comp.width, 50);
    EXPECT_EQ(sim.item("Empty").comp.height, 10);
    EXPECT_TRUE(sim.item("Empty").comp.layers.empty());
    EXPECT_EQ(sim.host.project().items.size(), 1u);
}

TEST(ApplyCrop, MeasuredBoundsOfARenderedFrameCropExactlyToTheContent) {
    simtest::Sim sim;
    sim.load(simtest::usedThreeWays());
    Frames before = renderAll(sim);
    // Measure the frame at time 0 as the crop commands do, then apply.
    auto* ro = sim.suite<AEGP_RenderOptionsSuite3>(kAEGPRenderOptionsSuite,
                                                   kAEGPRenderOptionsSuiteVersion3);
    auto* render = sim.suite<AEGP_RenderSuite3>(kAEGPRenderSuite, kAEGPRenderSuiteVersion3);
    AEGP_RenderOptionsH options = nullptr;
    AEGP_FrameReceiptH receipt = nullptr;
    AEGP_WorldH world = nullptr;
    ASSERT_EQ(ro->AEGP_NewFromItem(1, sim.itemH("Inner"), &options), A_Err_NONE);
    ASSERT_EQ(render->AEGP_RenderAndCheckoutFrame(options, nullptr, nullptr, &receipt), A_Err_NONE);
    ASSERT_EQ(render->AEGP_GetReceiptWorld(receipt, &world), A_Err_NONE);
    crop::CroppingBounds b{};
    ASSERT_EQ(crop::findCropBounds(sim.host.basicSuite(), &world, 1, 1, &b, kNoLimit), A_Err_NONE);
    ASSERT_EQ(render->AEGP_CheckinFrame(receipt), A_Err_NONE);
    // Box: 120..179 x 100..139; Mover at 0: 115..144 x 85..114; Parent/Child around (170..200,
    // 145..155).
    EXPECT_EQ(b.left, 115);
    EXPECT_EQ(b.top, 85);
    AEGP_ItemH item = sim.itemH("Inner");
    A_Time t = {0, 1};
    ASSERT_EQ(crop::finishCropping(sim.host.basicSuite(), 1, &item, b, t, 0, &options, 1, 1),
              A_Err_NONE);
    sim::World croppedFrame = sim.render("Inner");
    EXPECT_TRUE(simtest::samePixels(before.inner[0], croppedFrame, 115, 85, "measured_inner"));
    // Every border of the cropped frame holds content.
    crop::ScanExtent e =
        crop::scanContentExtent(croppedFrame.data.data(), croppedFrame.type, croppedFrame.width,
                                croppedFrame.height, croppedFrame.rowBytes);
    EXPECT_EQ(e.firstRow, 0);
    EXPECT_EQ(e.firstCol, 0);
    EXPECT_EQ(e.lastRow, croppedFrame.height - 1);
    EXPECT_EQ(e.lastCol, croppedFrame.width - 1);
    EXPECT_TRUE(simtest::samePixels(before.main[0], sim.render("Main"), 0, 0, "measured_main"));
    sim.host.basicSuite()->ReleaseSuite(kAEGPRenderOptionsSuite, kAEGPRenderOptionsSuiteVersion3);
    sim.host.basicSuite()->ReleaseSuite(kAEGPRenderSuite, kAEGPRenderSuiteVersion3);
    EXPECT_TRUE(sim.host.handles().leaks().empty());
}

}  // namespace
