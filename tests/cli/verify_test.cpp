// The pure parts of run --verify: which compositions depend on a cropped one, at which times they
// are compared, and the crop windows read from what a crop did.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProjectFile.h"
#include "Verify.h"

namespace {

using sim::Rational;

// "Leaf" is cropped; "Mid" shows it (start time 1, keyframed position), "Top" shows "Mid" twice
// (start times 0 and 2) and "Remap" through a time remap; "Other" shows only the solid.
const char* const kNested = R"({"format": "zentrim-project", "version": 1, "items": [
  {"type": "solid", "name": "S", "width": 10, "height": 10, "color": [1, 1, 1, 1]},
  {"type": "comp", "name": "Leaf", "width": 100, "height": 100, "frameRate": 10, "duration": 10,
   "layers": [{"name": "s", "source": "S", "position": [50, 50, 0]}]},
  {"type": "comp", "name": "Mid", "width": 100, "height": 100, "frameRate": 10, "duration": 10,
   "currentTime": 3,
   "layers": [{"name": "leaf", "source": "Leaf", "startTime": 1, "inPoint": 1, "outPoint": 6,
               "position": {"keyframes": [{"time": 0, "value": [50, 50]},
                                          {"time": "1/2", "value": [60, 50]}]}}]},
  {"type": "comp", "name": "Top", "width": 100, "height": 100, "frameRate": 10, "duration": 10,
   "layers": [{"name": "mid", "source": "Mid"},
              {"name": "later", "source": "Mid", "startTime": 2, "inPoint": 2}]},
  {"type": "comp", "name": "Remap", "width": 100, "height": 100, "frameRate": 10, "duration": 10,
   "layers": [{"name": "mid", "source": "Mid", "timeRemapEnabled": true, "inPoint": "1/2",
               "timeRemap": {"keyframes": [{"time": 0, "value": 0}, {"time": 4, "value": 8}]}}]},
  {"type": "comp", "name": "Other", "width": 100, "height": 100, "frameRate": 10, "duration": 10,
   "layers": [{"name": "s", "source": "S"}]}
]})";

sim::Project nested() {
    return sim::parseProject(kNested, "nested.json", "");
}

std::vector<sim::ResizeRecord> leafCropped(const sim::Project& p) {
    const sim::Item* leaf = p.findItem(p.items[1].id);
    return {{leaf->id, "Leaf", 100, 100, 10, 10}};
}

std::vector<std::string> names(const sim::Project& p, const std::vector<sim::Id>& ids) {
    std::vector<std::string> out;
    for (sim::Id id : ids)
        out.push_back(p.findItem(id)->name);
    return out;
}

std::vector<std::string> texts(const std::vector<Rational>& times) {
    std::vector<std::string> out;
    for (Rational t : times)
        out.push_back(t.toString());
    return out;
}

TEST(Verify, DependentsAreEveryCompositionThatShowsACroppedOneThroughAnyDepth) {
    sim::Project p = nested();
    EXPECT_EQ(names(p, sim::dependentComps(p, p, leafCropped(p))),
              (std::vector<std::string>{"Mid", "Top", "Remap"}));
    // A cropped composition is not compared, even when it shows another cropped one.
    std::vector<sim::ResizeRecord> both = leafCropped(p);
    both.push_back({p.items[2].id, "Mid", 100, 100, 50, 50});
    EXPECT_EQ(names(p, sim::dependentComps(p, p, both)),
              (std::vector<std::string>{"Top", "Remap"}));
    EXPECT_TRUE(sim::dependentComps(p, p, {}).empty());
}

TEST(Verify, TimesAreTheCurrentTimeAndTheUsesInPointsOutPointsAndKeyframesMappedUp) {
    sim::Project p = nested();
    auto cropped = leafCropped(p);
    // Mid: current time 3; the use "leaf": in 1, last frame 59/10, keyframes 0 and 1/2 in layer
    // time = 1 and 3/2 in Mid's time.
    EXPECT_EQ(texts(sim::verificationTimes(p, p, p.items[2].id, cropped, false)),
              (std::vector<std::string>{"1", "3/2", "3", "59/10"}));
    // Top: its own uses (in 0 and 2, last frames 99/10) and Mid's, shifted by 0 and by 2.
    EXPECT_EQ(
        texts(sim::verificationTimes(p, p, p.items[3].id, cropped, false)),
        (std::vector<std::string>{"0", "1", "3/2", "2", "3", "7/2", "59/10", "79/10", "99/10"}));
    // The command measured Leaf at its time 2: Top shows it then through Mid at 3 and 5.
    EXPECT_EQ(texts(sim::verificationTimes(p, p, p.items[3].id, cropped, false,
                                           {{p.items[1].id, Rational(2)}})),
              (std::vector<std::string>{"0", "1", "3/2", "2", "3", "7/2", "5", "59/10", "79/10",
                                        "99/10"}));
    // Under a time remap the inner times do not map back: only the remapping use's own.
    EXPECT_EQ(texts(sim::verificationTimes(p, p, p.items[4].id, cropped, false)),
              (std::vector<std::string>{"0", "1/2", "4", "99/10"}));
    // Over the duration: every frame.
    EXPECT_EQ(sim::verificationTimes(p, p, p.items[2].id, cropped, true).size(), 100u);
}

TEST(Verify, TheCropWindowIsReadFromTheNewSizeAndHowFarTheLayersWereCarried) {
    sim::Project before = nested();
    sim::Project after = before;
    sim::Item& leaf = after.items[1];
    leaf.comp.width = 10;
    leaf.comp.height = 12;
    leaf.comp.layers[0].position.value = {5, 6, 0};  // carried by (-45, -44)
    std::vector<sim::CropWindow> windows = sim::cropWindows(before, after, leafCropped(before));
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].left, 45);
    EXPECT_EQ(windows[0].top, 44);
    EXPECT_EQ(windows[0].width, 10);
    EXPECT_EQ(windows[0].height, 12);

    // Each layer that shows the cropped composition is limited to the window by one more mask.
    sim::Project limited = sim::limitedToCropWindows(before, windows);
    const sim::Layer& use = limited.items[2].comp.layers[0];
    ASSERT_EQ(use.masks.size(), 1u);
    EXPECT_EQ(use.masks[0].mode, sim::MaskMode::Intersect);
    EXPECT_EQ(use.masks[0].path.value.vertices[0], (sim::Vec2{45, 44}));
    EXPECT_EQ(use.masks[0].path.value.vertices[2], (sim::Vec2{55, 56}));
    EXPECT_TRUE(limited.items[3].comp.layers[0].masks.empty()) << "Top shows Mid, not Leaf";
}

TEST(Verify, ComparesPixelsAndCountsWhatMoved) {
    sim::Project before = nested();
    sim::Project after = before;
    auto cropped = leafCropped(before);
    sim::PictureNames names;
    sim::Verification same = sim::verifyCrop(before, after, cropped, {}, "", names);
    EXPECT_TRUE(same.passed());
    EXPECT_EQ(same.comps, (std::vector<std::string>{"Mid", "Top", "Remap", "Leaf (itself)"}));
    EXPECT_EQ(
        sim::verificationSummary(same).rfind("nothing moved, nothing cut: 4 compositions, ", 0),
        0u);
    // The white square inside Leaf one pixel to the right: every frame that shows it differs.
    after.items[1].comp.layers[0].position.value.x += 1;
    sim::Verification moved = sim::verifyCrop(before, after, cropped, {}, "", names);
    EXPECT_FALSE(moved.nothingMoved());
    ASSERT_FALSE(moved.differences.empty());
    EXPECT_EQ(moved.differences[0].comp, "Mid");
    EXPECT_EQ(moved.differences[0].time, Rational(1));
    EXPECT_EQ(moved.differences[0].pixels, 20) << "a column of 10 pixels appears, one goes";
}

}  // namespace

// "Leaf" (100 x 100, all white) shown in "Main" by the selected use "leaf" and by "other"; the
// crop kept the window (20, 20) to (60, 60) of Leaf and corrected both uses so that nothing moved.
// The use carries the masks "box" (the window itself) and "wide" (all of Leaf).
const char* const kCropped = R"({"format": "zentrim-project", "version": 1, "activeItem": "Main",
 "items": [
  {"type": "solid", "name": "S", "width": 100, "height": 100, "color": [1, 1, 1, 1]},
  {"type": "comp", "name": "Leaf", "width": 100, "height": 100, "frameRate": 10, "duration": 1,
   "layers": [{"name": "s", "source": "S", "anchorPoint": [50, 50, 0], "position": [50, 50, 0]}]},
  {"type": "comp", "name": "Main", "width": 300, "height": 100, "frameRate": 10, "duration": 1,
   "layers": [
     {"name": "leaf", "source": "Leaf", "selected": true, "anchorPoint": [50, 50, 0],
      "position": [50, 50, 0], "masks": [
        {"name": "box", "path": {"vertices": [[20, 20], [60, 20], [60, 60], [20, 60]],
         "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
         "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}},
        {"name": "wide", "path": {"vertices": [[0, 0], [100, 0], [100, 100], [0, 100]],
         "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
         "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}]},
     {"name": "other", "source": "Leaf", "anchorPoint": [50, 50, 0], "position": [200, 50, 0]}
   ]}
]})";

struct CutCase {
    const char* name;
    sim::CropCommand::Kind kind;
    bool includeMasks;
    const char* maskCroppedTo;  // Mask Crop: the mask's name
    bool keepOnlyBox;           // the use shows Leaf through "box" alone
    bool cut;                   // expected: content visible at the measured time was cut
};

TEST(Verify, ContentVisibleAtTheMeasuredTimeAndGoneIsCutAndTheRestIsOutsideTheWindow) {
    using Kind = sim::CropCommand::Kind;
    const CutCase cases[] = {
        // The standard crop measured Leaf whole at Main's current time: both uses show it there.
        {"standard", Kind::Standard, false, "", false, true},
        {"standard, use within the window", Kind::Standard, false, "", true, true},
        // Within the selected use's masks only: what "other" shows beyond them was not measured.
        {"standard, IncludeMasks", Kind::Standard, true, "", true, false},
        {"standard, IncludeMasks, use beyond the window", Kind::Standard, true, "", false, true},
        // Mask Crop keeps what its own mask shows; what another mask shows beyond it is not kept.
        {"Mask Crop to the window's mask", Kind::MaskCrop, false, "box", false, false},
        {"Mask Crop to a wider mask", Kind::MaskCrop, false, "wide", false, true},
        {"Mask Crop, mask not known", Kind::MaskCrop, false, "", false, false},
        {"over the duration", Kind::Duration, false, "", true, true},
        {"no crop command", Kind::Unknown, false, "", false, false},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Project before = sim::parseProject(kCropped, "cropped.json", "");
        sim::Layer& use = before.items[2].comp.layers[0];
        if (c.keepOnlyBox) use.masks.pop_back();
        sim::Project after = before;
        sim::Item& leaf = after.items[1];
        leaf.comp.width = leaf.comp.height = 40;
        leaf.comp.layers[0].position.value = {30, 30, 0};
        for (sim::Layer& l : after.items[2].comp.layers) {
            l.anchorPoint.value = {30, 30, 0};
            for (sim::Mask& m : l.masks)
                for (sim::Vec2& v : m.path.value.vertices)
                    v = {v.x - 20, v.y - 20};
        }
        sim::CropCommand command;
        command.kind = c.kind;
        command.everyFrame = c.kind == Kind::Duration;
        command.includeMasks = c.includeMasks;
        for (const sim::Mask& m : use.masks)
            if (m.name == c.maskCroppedTo) command.maskCroppedTo = m.id;
        std::vector<sim::ResizeRecord> resized = {{leaf.id, "Leaf", 100, 100, 40, 40}};
        sim::PictureNames names;
        sim::Verification v = sim::verifyCrop(before, after, resized, command, "", names);
        EXPECT_TRUE(v.nothingMoved()) << sim::verificationSummary(v);
        EXPECT_EQ(!v.nothingCut(), c.cut) << sim::verificationSummary(v);
        // What no measurement covered is outside the window (the uses' last frame shows Leaf at
        // a time only the crop over the duration measured).
        EXPECT_EQ(v.croppedAwayPixels > 0, c.kind != Kind::Duration) << sim::verificationSummary(v);
        if (c.cut) {
            EXPECT_EQ(sim::verificationSummary(v).rfind("CUT: ", 0), 0u);
            EXPECT_NE(sim::verificationSummary(v).find(" visible at the measured time are gone"),
                      std::string::npos);
        }
    }
}
