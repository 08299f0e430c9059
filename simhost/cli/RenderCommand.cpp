// zentrim-host render: one composition at one time to an 8-bit straight-alpha PNG.
#include <filesystem>
#include <ostream>

#include "Commands.h"
#include "OutputPaths.h"
#include "Png.h"
#include "ProjectFile.h"
#include "Renderer.h"
#include "World.h"

namespace sim {

int renderCommand(const CliOptions& o, std::ostream& out) {
    Project project;
    try {
        project = loadProject(o.project);
    } catch (const std::exception& e) {
        throw BadInput(e.what());
    }
    Item* item = project.findItemByName(o.comp);
    if (!item) throw BadInput(o.project + ": --comp: no item named \"" + o.comp + "\"");
    if (item->type != ItemType::Comp)
        throw BadInput(o.project + ": --comp: \"" + o.comp + "\" is not a composition");
    Rational time;
    if (!Rational::parse(o.time, &time))
        throw BadInput("--time: expected seconds or a fraction such as 45/30, got \"" + o.time +
                       "\"");
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
    World world = renderComp(project, item->id, time, 1, 1);
    std::vector<uint8_t> rgba = toStraightRGBA8(world);
    writePng(o.png, world.width, world.height, rgba.data());
    out << "rendered \"" << o.comp << "\" at " << time.toString() << " s: " << world.width << "x"
        << world.height << " -> " << o.png << "\n";
    return kExitRan;
}

}  // namespace sim
