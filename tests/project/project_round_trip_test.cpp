// The project file: what a rich file loads to, defaults, and load -> save -> load identity.
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "Png.h"
#include "ProjectFile.h"
#include "TempDir.h"

using sim::Interp;
using sim::Rational;
using sim::Vec3;

namespace {

// Every kind of item, layer, stream form, interpolation, time notation and reference.
const char* kRich = R"({
  "format": "zentrim-project", "version": 1, "bitsPerChannel": 16,
  "activeItem": "main-id", "selectedItems": ["Logo", "main-id"],
  "items": [
    {"type": "folder", "name": "Assets"},
    {"type": "folder", "name": "Nested", "folder": "Assets"},
    {"type": "solid", "name": "Red", "folder": "Nested", "width": 200, "height": 100,
     "color": [1, 0, 0, 0.5]},
    {"type": "solid", "name": "Red", "id": "red-2", "width": 20, "height": 10,
     "color": [0.25, 0, 0]},
    {"type": "image", "name": "Logo", "folder": "Assets", "path": "footage/logo.png"},
    {"type": "null", "name": "Null 1", "width": 100, "height": 100},
    {"type": "comp", "name": "Pre", "width": 400, "height": 300, "pixelAspect": [10, 11],
     "frameRate": 29.97, "duration": "1001/100", "resolution": [2, 3], "currentTime": "1/3",
     "layers": [
       {"name": "Red", "source": "red-2", "inPoint": "1/30", "outPoint": 5, "startTime": -0.5,
        "video": false, "threeD": true, "selected": true, "anchorPoint": [10, 5],
        "scale": {"keyframes": [{"time": 0, "value": [100, 100]},
                                {"time": "3/2", "value": [50, 25, 100], "in": "bezier",
                                 "out": "hold"}]},
        "rotation": {"keyframes": [{"time": 0, "value": 0, "out": "bezier"},
                                   {"time": 1, "value": 90, "in": "bezier", "out": "hold"},
                                   {"time": 2, "value": -45.5, "in": "hold"}]},
        "opacity": 37.5,
        "masks": [
          {"name": "Oval", "mode": "subtract", "inverted": true, "selected": true,
           "path": {"keyframes": [
             {"time": 0, "value": {"vertices": [[0, 0], [20, 0], [20, 10]],
                                   "inTangents": [[0, 0], [-1, 0.5], [0, 0]],
                                   "outTangents": [[1, 0], [0, 0], [0, -2]]}},
             {"time": "7/3", "in": "hold",
              "value": {"vertices": [[1, 1], [21, 1], [21, 11]],
                        "inTangents": [[0, 0], [0, 0], [0, 0]],
                        "outTangents": [[0, 0], [0, 0], [0, 0]], "closed": false}}]}},
          {"name": "Empty", "mode": "none",
           "path": {"vertices": [], "inTangents": [], "outTangents": []}}]},
       {"name": "Logo", "source": "Logo", "parent": 0, "position": [1, 2]},
       {"name": "Camera", "kind": "camera", "source": null},
       {"name": "Null 1", "kind": "null", "source": "Null 1", "anchorPoint": [0, 0, 0]}
     ]},
    {"type": "comp", "name": "Main", "id": "main-id", "width": 1920, "height": 1080,
     "frameRate": 30, "duration": 10,
     "layers": [
       {"name": "Pre", "source": "Pre", "timeRemapEnabled": true,
        "timeRemap": {"keyframes": [{"time": 0, "value": 0}, {"time": 10, "value": 2.5}]}},
       {"name": "Child", "source": "Red", "parent": 2},
       {"name": "Parent", "kind": "null", "parent": 3},
       {"name": "", "kind": "text"}
     ]}
  ]
})";

class ProjectFile : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(tmp.file("footage"));
        sim::ImageData logo{4, 2, std::vector<uint8_t>(4 * 2 * 4, 200), {}};
        sim::writePng(tmp.file("footage/logo.png"), logo);
    }
    sim::Project parse(const std::string& text) {
        return sim::parseProject(text, "rich.json", tmp.dir());
    }

    TempDir tmp;
};

}  // namespace

TEST_F(ProjectFile, LoadsItemsWithReferencesResolvedAndIdsInFileOrder) {
    sim::Project p = parse(kRich);
    ASSERT_EQ(p.items.size(), 8u);
    for (size_t i = 0; i < p.items.size(); ++i)
        EXPECT_EQ(p.items[i].id, sim::Id(i + 1));
    EXPECT_EQ(p.nextId, 19);  // 8 items, then Pre's 4 layers with 2 masks, then Main's 4 layers
    EXPECT_EQ(p.bitsPerChannel, 16);
    EXPECT_EQ(p.activeItem, p.items[7].id);
    EXPECT_EQ(p.items[1].folder, p.items[0].id);
    EXPECT_EQ(p.items[2].folder, p.items[1].id);
    EXPECT_TRUE(p.items[4].selected && p.items[7].selected && !p.items[6].selected);
    EXPECT_EQ(p.items[3].color, (std::array<double, 4>{0.25, 0, 0, 1}));
    ASSERT_TRUE(p.items[4].image);
    EXPECT_EQ(p.items[4].width, 4);
    EXPECT_EQ(p.items[4].path, "footage/logo.png");
    EXPECT_EQ(p.items[5].type, sim::ItemType::NullSource);

    const sim::Comp& pre = p.items[6].comp;
    EXPECT_EQ(pre.duration, Rational(1001, 100));
    EXPECT_EQ(pre.currentTime, Rational(1, 3));
    EXPECT_EQ(pre.frameRate, 29.97);
    EXPECT_EQ(pre.pixelAspectNum * 100 + pre.pixelAspectDen, 1011);
    EXPECT_EQ(pre.resolutionH * 10 + pre.resolutionV, 23);
}

TEST_F(ProjectFile, LoadsLayersStreamsAndMasks) {
    sim::Project p = parse(kRich);
    const sim::Comp& pre = p.items[6].comp;
    const sim::Layer& red = pre.layers[0];
    EXPECT_EQ(red.id, 9);
    EXPECT_EQ(red.source, p.items[3].id) << "\"red-2\" is the second Red's id";
    EXPECT_EQ(red.inPoint, Rational(1, 30));
    EXPECT_EQ(red.startTime, Rational(-1, 2));
    EXPECT_FALSE(red.video);
    EXPECT_TRUE(red.threeD && red.selected);
    EXPECT_EQ(red.anchorPoint.value, (Vec3{10, 5, 0}));
    EXPECT_EQ(red.position.value, (Vec3{200, 150, 0})) << "defaults to the comp's centre";
    ASSERT_EQ(red.scale.keys.size(), 2u);
    EXPECT_EQ(red.scale.keys[0].value, (Vec3{100, 100, 100})) << "a 2-element scale has z = 100";
    EXPECT_EQ(red.scale.keys[1].time, Rational(3, 2));
    EXPECT_EQ(red.scale.keys[1].in, Interp::Bezier);
    EXPECT_EQ(red.scale.keys[1].out, Interp::Hold);
    EXPECT_EQ(red.rotation.keys[2].value, -45.5);
    EXPECT_EQ(red.opacity.value, 37.5);

    ASSERT_EQ(red.masks.size(), 2u);
    EXPECT_EQ(red.masks[0].id, 10);
    EXPECT_EQ(red.masks[0].mode, sim::MaskMode::Subtract);
    EXPECT_TRUE(red.masks[0].inverted && red.masks[0].selected);
    EXPECT_TRUE(red.masks[0].path.keys[0].value.closed);
    EXPECT_FALSE(red.masks[0].path.keys[1].value.closed);
    EXPECT_EQ(red.masks[0].path.keys[0].value.inTangents[1], (sim::Vec2{-1, 0.5}));
    EXPECT_EQ(red.masks[1].mode, sim::MaskMode::None);
    EXPECT_TRUE(red.masks[1].path.value.vertices.empty());

    EXPECT_EQ(pre.layers[1].parent, red.id);
    EXPECT_EQ(pre.layers[1].anchorPoint.value, (Vec3{2, 1, 0}))
        << "defaults to the source's centre";
    EXPECT_EQ(pre.layers[2].kind, sim::LayerKind::Camera);
    EXPECT_EQ(pre.layers[2].anchorPoint.value, (Vec3{0, 0, 0}));
    EXPECT_EQ(pre.layers[3].source, p.items[5].id);

    const sim::Comp& main = p.items[7].comp;
    EXPECT_EQ(main.layers[0].outPoint, Rational(10)) << "defaults to the comp's duration";
    EXPECT_TRUE(main.layers[0].timeRemapEnabled);
    EXPECT_EQ(main.layers[0].timeRemap.keys[1].value, 2.5);
    EXPECT_EQ(main.layers[1].source, p.items[2].id) << "\"Red\" is the Red without an id";
    EXPECT_EQ(main.layers[1].parent, main.layers[2].id);
    EXPECT_EQ(main.layers[2].parent, main.layers[3].id);
    EXPECT_EQ(main.layers[2].source, 0);
    EXPECT_EQ(main.layers[3].name, "");
}

TEST_F(ProjectFile, TimesInSecondsAreReadExactly) {
    sim::Project p = parse(R"({"format": "zentrim-project", "version": 1, "items": [
        {"type": "comp", "name": "C", "width": 10, "height": 10, "frameRate": 30,
         "duration": 1.0000001, "currentTime": 0.03333333333333333}]})");
    EXPECT_EQ(p.items[0].comp.duration, Rational(10000001, 10000000));
    EXPECT_EQ(p.items[0].comp.currentTime, Rational(1, 30));
}

TEST_F(ProjectFile, LoadingTheSameTextTwiceGivesTheSameProject) {
    EXPECT_EQ(sim::describeDifference(parse(kRich), parse(kRich)), "");
}

TEST_F(ProjectFile, LoadSaveLoadIsTheIdentity) {
    sim::Project first = parse(kRich);
    std::string text = sim::serializeProject(first);
    sim::Project second = parse(text);
    EXPECT_EQ(sim::describeDifference(first, second), "");
    EXPECT_EQ(second.nextId, first.nextId);
    EXPECT_EQ(sim::serializeProject(second), text);
    // The second "Red" is written with a generated id, which references then use.
    EXPECT_NE(text.find(R"("id": "Red #2")"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("source": "Red #2")"), std::string::npos);
    // Exact times stay exact; small values stay on one line.
    EXPECT_NE(text.find(R"("duration": "1001/100")"), std::string::npos);
    EXPECT_NE(text.find(R"("position": [960, 540, 0])"), std::string::npos);
}

TEST_F(ProjectFile, SaveAndLoadThroughAFile) {
    sim::Project first = parse(kRich);
    sim::saveProject(first, tmp.file("saved.json"));
    EXPECT_EQ(tmp.listing().find(".tmp"), std::string::npos) << tmp.listing();
    EXPECT_EQ(sim::describeDifference(first, sim::loadProject(tmp.file("saved.json"))), "");
}

TEST_F(ProjectFile, FootagePathsCanBeRebasedForAFileInAnotherFolder) {
    sim::Project project = parse(kRich);
    std::filesystem::create_directories(tmp.file("out/deeper"));
    sim::rebaseFootagePaths(project, tmp.dir(), tmp.file("out/deeper"));
    EXPECT_EQ(project.items[4].path, "../../footage/logo.png");
    sim::saveProject(project, tmp.file("out/deeper/moved.json"));
    sim::Project moved = sim::loadProject(tmp.file("out/deeper/moved.json"));
    EXPECT_EQ(moved.items[4].image->rgba, project.items[4].image->rgba);
}

TEST_F(ProjectFile, MinimalFileTakesTheDocumentedDefaults) {
    sim::Project p = parse(R"({"format": "zentrim-project", "version": 1, "items": [
        {"type": "solid", "name": "S", "width": 10, "height": 20, "color": [0, 0, 0, 1]},
        {"type": "comp", "name": "C", "width": 100, "height": 50, "frameRate": 24,
         "duration": 2, "layers": [{"name": "S", "source": "S"}]}]})");
    EXPECT_EQ(p.bitsPerChannel, 8);
    EXPECT_EQ(p.activeItem, 0);
    const sim::Comp& c = p.items[1].comp;
    EXPECT_EQ(c.pixelAspectNum, 1);
    EXPECT_EQ(c.resolutionH, 1);
    EXPECT_EQ(c.currentTime, Rational(0));
    const sim::Layer& s = c.layers[0];
    EXPECT_EQ(s.kind, sim::LayerKind::AV);
    EXPECT_EQ(s.inPoint, Rational(0));
    EXPECT_EQ(s.outPoint, Rational(2));
    EXPECT_TRUE(s.video && !s.threeD && !s.selected && !s.timeRemapEnabled);
    EXPECT_EQ(s.parent, 0);
    EXPECT_EQ(s.anchorPoint.value, (Vec3{5, 10, 0}));
    EXPECT_EQ(s.position.value, (Vec3{50, 25, 0}));
    EXPECT_EQ(s.scale.value, (Vec3{100, 100, 100}));
    EXPECT_EQ(s.rotation.value, 0);
    EXPECT_EQ(s.opacity.value, 100);
    EXPECT_TRUE(s.masks.empty());
}

TEST(ProjectExample, BasicSampleLoads) {
    sim::Project p = sim::loadProject(ZENTRIM_SOURCE_DIR "/examples/basic.json");
    const sim::Item* main = p.findItem(p.activeItem);
    ASSERT_TRUE(main);
    EXPECT_EQ(main->name, "Main");
    ASSERT_FALSE(main->comp.layers.empty());
    const sim::Layer& layer = main->comp.layers[0];
    EXPECT_TRUE(layer.selected);
    const sim::Item* pre = p.findItem(layer.source);
    ASSERT_TRUE(pre);
    EXPECT_EQ(pre->name, "Logo Precomp");
    EXPECT_EQ(pre->comp.width, 1920);
    const sim::Item* logo = p.findItemByName("Logo");
    ASSERT_TRUE(logo && logo->image);
    EXPECT_EQ(logo->image->width, 64);
    EXPECT_EQ(sim::describeDifference(p, sim::parseProject(sim::serializeProject(p), "again",
                                                           ZENTRIM_SOURCE_DIR "/examples")),
              "");
}
