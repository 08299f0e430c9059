// What run --diff lists: each changed value once, before -> after, matched by id.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProjectDiff.h"
#include "ProjectFile.h"

namespace {

const char* const kProject = R"({"format": "zentrim-project", "version": 1, "items": [
  {"type": "solid", "name": "S", "width": 10, "height": 10, "color": [1, 1, 1, 1]},
  {"type": "comp", "name": "Pre", "width": 100, "height": 80, "frameRate": 10, "duration": 10,
   "layers": [{"name": "s", "source": "S", "position": {"keyframes": [
                 {"time": 0, "value": [10, 20]}, {"time": "1/2", "value": [30, 40]}]}}]},
  {"type": "comp", "name": "Main", "width": 200, "height": 100, "frameRate": 10, "duration": 10,
   "layers": [{"name": "use", "source": "Pre",
               "masks": [{"name": "M", "path": {"vertices": [[0, 0], [100, 0], [100, 80]],
                                               "inTangents": [[0, 0], [0, 0], [0, 0]],
                                               "outTangents": [[0, 0], [1, 2], [0, 0]]}}]}]}
]})";

std::vector<std::string> described(const sim::Project& before, const sim::Project& after) {
    std::vector<std::string> out;
    for (const sim::ValueChange& c : sim::diffProjects(before, after))
        out.push_back(sim::describeChange(c));
    return out;
}

TEST(ProjectDiff, AnUnchangedProjectHasNoChanges) {
    sim::Project p = sim::parseProject(kProject, "p.json", "");
    EXPECT_TRUE(sim::diffProjects(p, p).empty());
}

TEST(ProjectDiff, ACropReadsAsSizesAnchorPointsKeyframesAndMaskPoints) {
    sim::Project before = sim::parseProject(kProject, "p.json", "");
    sim::Project after = before;
    sim::Comp& pre = after.items[1].comp;
    pre.width = 30;
    pre.height = 25;
    pre.layers[0].position.keys[0].value = {0, 5, 0};
    pre.layers[0].position.keys[1].value = {20, 25, 0};
    sim::Layer& use = after.items[2].comp.layers[0];
    use.anchorPoint.value = {15, 12.5, 0};
    use.masks[0].path.value.vertices[1] = {30, -15};
    use.masks[0].path.value.outTangents[1] = {0.3, 0.625};
    after.items[2].name = "Main (cropped)";
    EXPECT_EQ(described(before, after),
              (std::vector<std::string>{
                  "comp \"Pre\": size: 100x80 -> 30x25",
                  "layer \"s\" in \"Pre\": position keyframe 0 at 0 s: (10, 20, 0) -> (0, 5, 0)",
                  "layer \"s\" in \"Pre\": position keyframe 1 at 1/2 s: (30, 40, 0) -> (20, 25, "
                  "0)",
                  "comp \"Main (cropped)\": name: \"Main\" -> \"Main (cropped)\"",
                  "layer \"use\" in \"Main (cropped)\": anchor point: (50, 40, 0) -> (15, 12.5, 0)",
                  "layer \"use\" in \"Main (cropped)\": mask \"M\" vertex 1: (100, 0) -> (30, -15)",
                  "layer \"use\" in \"Main (cropped)\": mask \"M\" vertex 1 out tangent: (1, 2) -> "
                  "(0.3, 0.625)",
              }));
}

TEST(ProjectDiff, WhatWasAddedOrRemovedIsListedByName) {
    sim::Project before = sim::parseProject(kProject, "p.json", "");
    sim::Project after = before;
    sim::Item precomp = after.items[1];
    precomp.id = after.newId();
    precomp.name = "Set - Zentrim PreComp";
    precomp.comp.layers.clear();
    after.items.push_back(precomp);
    sim::Layer null;
    null.id = after.newId();
    null.name = "Zentrim Null";
    null.kind = sim::LayerKind::Null;
    after.items[2].comp.layers.push_back(null);
    after.items[2].comp.layers[0].masks.clear();
    after.items[2].comp.layers[0].parent = null.id;
    after.items.erase(after.items.begin());  // the solid
    EXPECT_EQ(described(before, after),
              (std::vector<std::string>{
                  "layer \"use\" in \"Main\": parent: none -> \"Zentrim Null\"",
                  "layer \"use\" in \"Main\": mask \"M\" removed",
                  "layer \"Zentrim Null\" in \"Main\": added",
                  "comp \"Set - Zentrim PreComp\": added (100x80)",
                  "item \"S\": removed",
              }));
}

}  // namespace
