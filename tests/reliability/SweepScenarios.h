// The command scenarios of the fault sweep: small projects, so that a run per host call stays
// cheap, that still reach every kind of host call each command makes.
#pragma once

#include <string>
#include <vector>

#include "Scenes.h"
#include "SweepRunner.h"

namespace simtest {

// A red 12 x 8 solid; "P" (64 x 48) shows it at (30, 20); "Main" (80 x 60) uses P.
inline std::string compModeProject() {
    return R"({"format": "zentrim-project", "version": 1, "bitsPerChannel": 8, "activeItem": "P",
  "items": [
    {"type": "solid", "name": "Red", "width": 12, "height": 8, "color": [1, 0, 0, 1]},
    {"type": "comp", "name": "P", "width": 64, "height": 48, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Box", "source": "Red", "position": [30, 20, 0]}]},
    {"type": "comp", "name": "Main", "width": 80, "height": 60, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Use", "source": "P", "position": [40, 30, 0]}]}
  ]})";
}

// Two selected uses of two precompositions in "Main": one with an animated anchor point and a
// layer parented to it (animated too), one with a mask; "PB" holds a parented layer, so every
// branch of the carrying and the correction of uses is reached.
inline std::string layerModeProject() {
    return R"({"format": "zentrim-project", "version": 1, "bitsPerChannel": 8, "activeItem": "Main",
  "items": [
    {"type": "solid", "name": "Red", "width": 12, "height": 8, "color": [1, 0, 0, 1]},
    {"type": "comp", "name": "PA", "width": 64, "height": 48, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Box", "source": "Red", "position": [30, 20, 0]}]},
    {"type": "comp", "name": "PB", "width": 64, "height": 48, "frameRate": 10, "duration": 1,
     "layers": [{"name": "Box", "source": "Red", "position": [20, 30, 0]},
                {"name": "Child", "source": "Red", "position": [5, 5, 0], "parent": 0}]},
    {"type": "comp", "name": "Main", "width": 80, "height": 60, "frameRate": 10, "duration": 1,
     "layers": [
       {"name": "UseA", "source": "PA", "position": [40, 30, 0], "selected": true,
        "anchorPoint": {"keyframes": [{"time": 0, "value": [32, 24, 0]},
                                      {"time": 1, "value": [30, 20, 0]}]}},
       {"name": "UseB", "source": "PB", "position": [40, 30, 0], "selected": true,
        "masks": [{"name": "Mask 1", "path": {
          "vertices": [[2, 2], [60, 2], [60, 44], [2, 44]],
          "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
          "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]}}]},
       {"name": "Label", "source": "Red", "parent": 0,
        "position": {"keyframes": [{"time": 0, "value": [2, 3, 0]},
                                   {"time": 1, "value": [6, 3, 0], "in": "hold"}]}}
     ]}
  ]})";
}

inline std::string maskPath(int l, int t, int r, int b) {
    auto p = [](int x, int y) { return "[" + std::to_string(x) + ", " + std::to_string(y) + "]"; };
    return R"({"vertices": [)" + p(l, t) + ", " + p(r, t) + ", " + p(r, b) + ", " + p(l, b) +
           R"(], "inTangents": [[0, 0], [0, 0], [0, 0], [0, 0]],
             "outTangents": [[0, 0], [0, 0], [0, 0], [0, 0]]})";
}

// "P" (5 frames: 5 fps, 1 s) with a box that moves; "Main" uses it through the selected layer
// "Use", which carries the given masks (text of the masks array's entries).
inline std::string maskedUseProject(const std::string& masks) {
    return R"({"format": "zentrim-project", "version": 1, "bitsPerChannel": 8, "activeItem": "Main",
  "items": [
    {"type": "solid", "name": "Red", "width": 12, "height": 8, "color": [1, 0, 0, 1]},
    {"type": "comp", "name": "P", "width": 64, "height": 48, "frameRate": 5, "duration": 1,
     "layers": [{"name": "Box", "source": "Red", "position": {"keyframes": [
        {"time": 0, "value": [20, 15, 0]}, {"time": 1, "value": [40, 30, 0]}]}}]},
    {"type": "comp", "name": "Main", "width": 80, "height": 60, "frameRate": 5, "duration": 1,
     "layers": [{"name": "Use", "source": "P", "position": [40, 30, 0], "selected": true,
                 "masks": [)" +
           masks + R"(]}]}
  ]})";
}

inline std::string namedMask(const std::string& name, const std::string& path) {
    return R"({"name": ")" + name + R"(", "mode": "add", "path": )" + path + "}";
}

inline std::string savePreferences() {
    return R"({"dialogs": [{"title": "Zentrim Preferences", "actions": [
    {"check": "Padding"}, {"text": [0, "3"]}, {"click": "Save"}]}]})";
}

inline std::vector<Scenario> sweepScenarios() {
    std::vector<Scenario> all;
    {
        Scenario s;
        s.name = "standard crop, composition mode";
        s.project = compModeProject();
        all.push_back(s);
    }
    {
        // The correction of uses of every kind: masks with open and curved outlines, a scaled
        // and rotated use, a use with a time offset and keyframed anchor and mask, inside a folder;
        // its camera brings up the "3D Layers" question.
        Scenario s;
        s.name = "standard crop, composition used three ways";
        s.project = usedThreeWays();
        s.answers = R"({"dialogs": [{"title": "3D Layers", "actions": [{"click": "Yes"}]}]})";
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "standard crop, layer mode, expand pass, two layers";
        s.project = layerModeProject();
        s.prefs = [](sim::Preferences& p) {
            p.set("Zentrim", "Expand", true);
            p.set("Zentrim", "ExpandAmount", 20.0);  // the dialog stores amounts as floats
        };
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "crop over the duration, IncludeMasks";
        s.project = maskedUseProject(namedMask("Window", maskPath(4, 4, 50, 40)));
        s.prefs = [](sim::Preferences& p) { p.set("Zentrim", "IncludeMasks", true); };
        s.keys = "cmd";
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "mask crop, Choose Mask dialog";
        s.project = maskedUseProject(namedMask("First", maskPath(0, 0, 10, 10)) + ", " +
                                     namedMask("Second", maskPath(8, 6, 50, 40)));
        s.answers = R"({"dialogs": [{"title": "Choose Mask", "actions": [
            {"select": [0, 1]}, {"click": "OK"}]}]})";
        s.prefs = [](sim::Preferences& p) {
            p.set("Zentrim", "DeleteMask", true);
            p.set("Zentrim", "Padding", true);
            p.set("Zentrim", "PaddingAmount", 2L);
        };
        s.keys = "shift+cmd";
        all.push_back(s);
    }
    {
        Scenario s;
        s.name = "preferences dialog, Save";
        s.project = compModeProject();
        s.answers = savePreferences();
        s.keys = "shift";
        all.push_back(s);
    }
    for (int request = 1; request <= 4; ++request) {
        Scenario s;
        s.name = "panel request " + std::to_string(request);
        s.project = maskedUseProject(namedMask("Window", maskPath(4, 4, 50, 40)));
        s.answers = savePreferences();
        s.panel = request;
        all.push_back(s);
    }
    // The host's calls before a command: they run at every menu opening and idle tick.
    {
        Scenario s;
        s.name = "menu update, masked precomposition layer selected";
        s.project = maskedUseProject(namedMask("Window", maskPath(4, 4, 50, 40)));
        s.hook = Scenario::Hook::MenuUpdate;
        all.push_back(s);
    }
    for (const char* keys : {"cmd", "shift+cmd"}) {
        Scenario s;
        s.name = std::string("idle, keys down: ") + keys;
        s.project = maskedUseProject(namedMask("Window", maskPath(4, 4, 50, 40)));
        s.hook = Scenario::Hook::KeysDown;
        s.keys = keys;
        all.push_back(s);
    }
    return all;
}

}  // namespace simtest
