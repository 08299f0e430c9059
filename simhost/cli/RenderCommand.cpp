// zentrim-host render: one composition at one time to an 8-bit straight-alpha PNG.
#include <filesystem>
#include <ostream>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "InputText.h"
#include "OutputPaths.h"
#include "Png.h"
#include "ProjectFile.h"
#include "Renderer.h"
#include "World.h"

namespace sim {

namespace {

std::string inQuotes(const std::string& text) {
    return "\"" + text + "\"";
}

// The item --comp names, as the project file refers to items: by its id, or by its name when it
// has no id. A name that several items share (each then has an id) is refused with their ids.
const Item& itemNamed(const Project& project, const std::string& path, const std::string& comp) {
    // The file was read and checked: its items are the project's, in the same order.
    nlohmann::json doc = nlohmann::json::parse(readInputFile(path, kProjectFileKind));
    const nlohmann::json& items = doc["items"];
    const Item* byKey = nullptr;
    std::vector<std::string> idsOfName;
    for (size_t i = 0; i < items.size() && i < project.items.size(); ++i) {
        const nlohmann::json& entry = items[i];
        bool hasId = entry.contains("id") && entry["id"].is_string();
        std::string key = hasId ? entry["id"].get<std::string>() : project.items[i].name;
        if (key == comp) byKey = &project.items[i];
        if (project.items[i].name == comp)
            idsOfName.push_back(hasId ? inQuotes(key) : "none (" + inQuotes(key) + " by its name)");
    }
    if (!byKey && idsOfName.size() > 1) {
        std::string ids;
        for (size_t i = 0; i < idsOfName.size(); ++i)
            ids += (i == 0 ? "" : i + 1 == idsOfName.size() ? " and " : ", ") + idsOfName[i];
        throw BadInput(path + ": --comp: " + std::to_string(idsOfName.size()) +
                       " items are named " + inQuotes(comp) + " (ids " + ids +
                       "): expected the id of the one to render");
    }
    if (!byKey && idsOfName.size() == 1)
        for (const Item& item : project.items)
            if (item.name == comp) byKey = &item;
    if (!byKey) throw BadInput(path + ": --comp: no item has the id or name " + inQuotes(comp));
    if (byKey->type != ItemType::Comp)
        throw BadInput(path + ": --comp: " + inQuotes(comp) + " is not a composition");
    return *byKey;
}

}  // namespace

int renderCommand(const CliOptions& o, std::ostream& out) {
    Project project;
    try {
        project = loadProject(o.project);
    } catch (const std::exception& e) {
        throw BadInput(e.what());
    }
    const Item& item = itemNamed(project, o.project, o.comp);
    const Comp& comp = item.comp;
    // As in project files: a time within the composition's duration; by default the composition's
    // current time, which --render and the demo show.
    Rational time = comp.currentTime;
    if (!o.time.empty()) {
        if (!Rational::parse(o.time, &time))
            throw BadInput("--time: expected seconds or a fraction such as 45/30, got \"" + o.time +
                           "\"");
        if (time < Rational(0) || time >= comp.duration)
            throw BadInput("--time: expected a time from 0 to below the duration of \"" +
                           item.name + "\" (" + comp.duration.toString() + " s), got " + o.time);
    }
    // The picture must not replace the project or its footage.
    OutputPlan plan;
    plan.input("the project", o.project);
    std::filesystem::path folder = std::filesystem::path(o.project).parent_path();
    for (const Item& footage : project.items)
        if (footage.type == ItemType::Image)
            plan.input("the footage \"" + footage.name + "\"",
                       std::filesystem::path(footage.path).is_relative()
                           ? (folder / footage.path).string()
                           : footage.path);
    plan.file("-o", o.png);
    plan.check();
    World world = renderComp(project, item.id, time, 1, 1);
    std::vector<uint8_t> rgba = toStraightRGBA8(world);
    writePng(o.png, world.width, world.height, rgba.data());
    out << "rendered \"" << item.name << "\" at " << time.toString() << " s"
        << (o.time.empty() ? " (its current time)" : "") << ": " << world.width << "x"
        << world.height << " -> " << o.png << "\n";
    return kExitRan;
}

}  // namespace sim
