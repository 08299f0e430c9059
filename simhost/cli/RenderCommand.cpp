// zentrim-host render: one composition at one time to an 8-bit straight-alpha PNG.
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
    checkOutputFile("-o", o.png);
    World world = renderComp(project, item->id, time, 1, 1);
    std::vector<uint8_t> rgba = toStraightRGBA8(world);
    try {
        writePng(o.png, world.width, world.height, rgba.data());
    } catch (const std::exception& e) {
        throw BadInput(e.what());
    }
    out << "rendered \"" << o.comp << "\" at " << time.toString() << " s: " << world.width << "x"
        << world.height << " -> " << o.png << "\n";
    return 0;
}

}  // namespace sim
