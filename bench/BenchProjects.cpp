// Building the benchmarks' simulated projects in code.
#include "BenchProjects.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace bench {

namespace {

using sim::Id;
using sim::Item;
using sim::Layer;
using sim::Project;
using sim::Rational;
using sim::Vec2;
using sim::Vec3;

Id addSolid(Project& p, const std::string& name, int w, int h, std::array<double, 4> color) {
    Item it;
    it.id = p.newId();
    it.type = sim::ItemType::Solid;
    it.name = name;
    it.width = w;
    it.height = h;
    it.color = color;
    p.items.push_back(std::move(it));
    return p.items.back().id;
}

Id addComp(Project& p, const std::string& name, int w, int h, int seconds) {
    Item it;
    it.id = p.newId();
    it.type = sim::ItemType::Comp;
    it.name = name;
    it.comp.width = w;
    it.comp.height = h;
    it.comp.frameRate = 30;
    it.comp.duration = Rational(seconds);
    p.items.push_back(std::move(it));
    return p.items.back().id;
}

// A layer of `source` appended below the others, its anchor at the source's centre, so that
// `position` is where that centre lands. The composition is passed as an item rather than an id
// because looking it up among ten thousand would make building the large project quadratic.
Layer& addLayer(Project& p, Item* c, Id source, Vec3 position) {
    const Item* s = p.findItem(source);
    int w = 0, h = 0;
    sim::itemSize(*s, &w, &h);
    Layer l;
    l.id = p.newId();
    l.name = s->name + " " + std::to_string(c->comp.layers.size() + 1);
    l.source = source;
    l.inPoint = Rational(0);
    l.outPoint = c->comp.duration;
    l.anchorPoint.value = {w / 2.0, h / 2.0, 0};
    l.position.value = position;
    c->comp.layers.push_back(std::move(l));
    return c->comp.layers.back();
}

Layer& addLayer(Project& p, Id comp, Id source, Vec3 position) {
    return addLayer(p, p.findItem(comp), source, position);
}

template <typename T>
void key(sim::Animatable<T>& stream, Rational time, T value,
         sim::Interp interp = sim::Interp::Linear) {
    stream.keys.push_back({time, value, interp, interp});
}

sim::MaskPath rectangle(double x0, double y0, double x1, double y1) {
    sim::MaskPath m;
    m.vertices = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    m.inTangents.assign(4, Vec2{});
    m.outTangents.assign(4, Vec2{});
    return m;
}

// An ellipse through four vertices, the usual Bézier approximation of its quarters.
sim::MaskPath ellipse(double w, double h) {
    const double k = 0.5523;
    sim::MaskPath m;
    m.vertices = {{w / 2, 0}, {w, h / 2}, {w / 2, h}, {0, h / 2}};
    m.inTangents = {{-k * w / 2, 0}, {0, -k * h / 2}, {k * w / 2, 0}, {0, k * h / 2}};
    m.outTangents = {{k * w / 2, 0}, {0, k * h / 2}, {-k * w / 2, 0}, {0, -k * h / 2}};
    return m;
}

sim::Mask& addMask(Project& p, Layer& layer) {
    sim::Mask m;
    m.id = p.newId();
    m.name = "Mask " + std::to_string(layer.masks.size() + 1);
    layer.masks.push_back(std::move(m));
    return layer.masks.back();
}

}  // namespace

Id itemId(const Project& project, const std::string& name) {
    for (const Item& it : project.items)
        if (it.name == name) return it.id;
    throw std::runtime_error("no item named " + name);
}

Project durationProject(int bitsPerChannel) {
    Project p;
    p.bitsPerChannel = bitsPerChannel;
    const Id red = addSolid(p, "Red", 160, 90, {1, 0, 0, 1});
    const Id blue = addSolid(p, "Blue", 64, 64, {0, 0, 1, 1});
    const Id bar = addSolid(p, "Bar", 240, 40, {1, 1, 0, 1});
    const Id green = addSolid(p, "Green", 100, 100, {0, 1, 0, 1});
    const Id dot = addSolid(p, "Dot", 32, 32, {1, 1, 1, 1});
    const Id shot = addComp(p, "Shot", 3840, 2160, 10);

    Layer& a = addLayer(p, shot, red, {400, 300, 0});
    key(a.position, Rational(0), Vec3{400, 300, 0});
    key(a.position, Rational(10), Vec3{3400, 1800, 0});
    Layer& b = addLayer(p, shot, blue, {3600, 200, 0});
    key(b.position, Rational(0), Vec3{3600, 200, 0});
    key(b.position, Rational(10), Vec3{300, 1900, 0});
    Layer& c = addLayer(p, shot, bar, {1920, 1080, 0});
    key(c.rotation, Rational(0), 0.0);
    key(c.rotation, Rational(10), 360.0);
    Layer& d = addLayer(p, shot, green, {1000, 1500, 0});
    key(d.position, Rational(0), Vec3{1000, 1500, 0}, sim::Interp::Hold);
    key(d.position, Rational(4), Vec3{2800, 600, 0}, sim::Interp::Hold);
    key(d.position, Rational(7), Vec3{1600, 1200, 0}, sim::Interp::Hold);
    // Appears halfway through, near the bottom right corner: the union grows late.
    Layer& e = addLayer(p, shot, dot, {3700, 2050, 0});
    e.inPoint = Rational(5);

    p.activeItem = shot;
    return p;
}

Project coveredDurationProject() {
    Project p = durationProject(8);
    const Id cover = addSolid(p, "Cover", 3840, 2160, {0.2, 0.2, 0.2, 1});
    const Id shot = p.activeItem;
    Layer& c = addLayer(p, shot, cover, {1920, 1080, 0});
    c.inPoint = Rational(10, 30);
    return p;
}

Project usesProject(int comps, int layersPerComp, int uses) {
    Project p;
    p.bitsPerChannel = 8;
    std::vector<Id> solids;
    for (int i = 0; i < 50; ++i)
        solids.push_back(addSolid(p, "Solid " + std::to_string(i + 1), 100 + 20 * i, 80 + 10 * i,
                                  {i % 2 * 1.0, i % 3 * 0.5, i % 5 * 0.25, 1}));
    const Id cropped = addComp(p, "Cropped", 1920, 1080, 10);
    for (int l = 0; l < layersPerComp; ++l)
        addLayer(p, cropped, solids[l % solids.size()], {400.0 + 100 * l, 300.0 + 50 * l, 0});

    const int others = comps - 1;
    const int every = uses > 0 ? others / uses : others + 1;
    int used = 0;
    for (int i = 0; i < others; ++i) {
        addComp(p, "Comp " + std::to_string(i + 1), 1920, 1080, 10);
        Item* comp = &p.items.back();  // stays valid: no item is added while its layers are
        const bool hasUse = used < uses && i % every == 0;
        for (int l = 0; l < layersPerComp; ++l) {
            const Vec3 at{200.0 + 150 * l, 150.0 + 80 * l, 0};
            if (!(hasUse && l == layersPerComp / 2)) {
                addLayer(p, comp, solids[(i + l) % solids.size()], at);
                continue;
            }
            Layer& use = addLayer(p, comp, cropped, {960, 540, 0});
            if (used % 4 == 0) {
                addMask(p, use).path.value = rectangle(300, 200, 1500, 900);
            } else if (used % 4 == 1) {
                sim::Mask& m = addMask(p, use);
                key(m.path, Rational(0), rectangle(300, 200, 1500, 900));
                key(m.path, Rational(5), rectangle(350, 250, 1400, 850));
                key(m.path, Rational(10), ellipse(1600, 900));
            }
            if (used % 5 == 0) {
                key(use.anchorPoint, Rational(0), Vec3{960, 540, 0});
                key(use.anchorPoint, Rational(10), Vec3{900, 500, 0});
            }
            ++used;
        }
    }
    return p;
}

Project longDurationProject(int frames) {
    Project p;
    const Id dot = addSolid(p, "Dot", 8, 8, {1, 1, 1, 1});
    Item it;
    it.id = p.newId();
    it.type = sim::ItemType::Comp;
    it.name = "Tiny";
    it.comp.width = 64;
    it.comp.height = 36;
    it.comp.frameRate = 100;
    it.comp.duration = Rational(frames, 100);
    p.items.push_back(std::move(it));
    const Id tiny = p.items.back().id;
    Layer& l = addLayer(p, tiny, dot, {8, 8, 0});
    key(l.position, Rational(0), Vec3{8, 8, 0});
    key(l.position, Rational(frames, 100), Vec3{56, 28, 0});
    p.activeItem = tiny;
    return p;
}

Project manyItemsProject(int items) {
    Project p;
    const Id logoSolid = addSolid(p, "Logo Solid", 400, 200, {1, 0.5, 0, 1});
    const Id filler = addSolid(p, "Filler", 120, 80, {0.5, 0.5, 0.5, 1});
    const Id logo = addComp(p, "Logo", 1920, 1080, 10);
    addLayer(p, logo, logoSolid, {1300, 300, 0});
    const Id main = addComp(p, "Main", 1920, 1080, 10);
    addLayer(p, main, logo, {960, 540, 0}).selected = true;
    p.activeItem = main;

    // Layers use the two solids made first: their lookups stay in the index while items are added.
    Id folder = 0;
    for (int i = static_cast<int>(p.items.size()); i < items; ++i) {
        const std::string n = std::to_string(i);
        if (i % 1000 == 5) {
            Item f;
            f.id = p.newId();
            f.type = sim::ItemType::Folder;
            f.name = "Folder " + n;
            p.items.push_back(std::move(f));
            folder = p.items.back().id;
        } else if (i % 10 == 0) {
            addComp(p, "Comp " + n, 640, 360, 5);
            Item* c = &p.items.back();
            c->folder = folder;
            addLayer(p, c, filler, {200, 100, 0});
            addLayer(p, c, logoSolid, {400, 200, 0});
        } else {
            addSolid(p, "Solid " + n, 50 + i % 100, 40 + i % 50, {0.2, 0.4, 0.6, 1});
            p.items.back().folder = folder;
        }
    }
    return p;
}

Project manyLayersProject(int layers) {
    Project p;
    const Id dot = addSolid(p, "Dot", 8, 8, {0.9, 0.8, 0.2, 1});
    const Id crowd = addComp(p, "Crowd", 1920, 1080, 10);
    p.activeItem = crowd;
    Item* c = p.findItem(crowd);
    c->comp.layers.reserve(static_cast<size_t>(layers));
    for (int i = 0; i < layers; ++i)
        addLayer(p, c, dot, {600.0 + (i * 37) % 700, 300.0 + (i * 53) % 480, 0});
    return p;
}

Project renderProject(int bitsPerChannel) {
    Project p;
    p.bitsPerChannel = bitsPerChannel;
    const Id background = addSolid(p, "Background", 1920, 1080, {0.1, 0.1, 0.2, 1});
    std::vector<Id> solids;
    for (int i = 0; i < 7; ++i)
        solids.push_back(addSolid(p, "Solid " + std::to_string(i + 1), 160 + 60 * i, 120 + 40 * i,
                                  {0.2 + 0.1 * i, 0.8 - 0.1 * i, 0.5, 1}));
    const Id masked = addSolid(p, "Masked", 600, 400, {1, 0.5, 0, 1});

    const Id inset = addComp(p, "Inset", 1280, 720, 10);
    addLayer(p, inset, solids[0], {300, 200, 0});
    addLayer(p, inset, solids[3], {800, 400, 0}).rotation.value = 30;
    addLayer(p, inset, solids[6], {640, 360, 0}).opacity.value = 80;

    const Id frame = addComp(p, "Frame", 1920, 1080, 10);
    Layer& m = addLayer(p, frame, masked, {500, 500, 0});
    key(m.position, Rational(0), Vec3{500, 500, 0});
    key(m.position, Rational(10), Vec3{1400, 600, 0});
    addMask(p, m).path.value = ellipse(600, 400);
    Layer& nested = addLayer(p, frame, inset, {1300, 400, 0});
    nested.scale.value = {50, 50, 100};
    nested.rotation.value = 10;
    for (int i = 0; i < 7; ++i) {
        Layer& l = addLayer(p, frame, solids[i], {200.0 + 230 * i, 250.0 + 90 * i, 0});
        if (i % 2 == 1) {
            key(l.rotation, Rational(0), 0.0);
            key(l.rotation, Rational(10), 90.0 * i);
        }
        if (i == 2) l.scale.value = {150, 75, 100};
        if (i == 4) l.opacity.value = 50;
    }
    addLayer(p, frame, background, {960, 540, 0});
    p.activeItem = frame;
    return p;
}

}  // namespace bench
