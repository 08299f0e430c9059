// Rendering compositions to PNG files for the command line's pictures.
#include "Pictures.h"

#include <cctype>
#include <filesystem>

#include "OutputPaths.h"
#include "Png.h"
#include "Renderer.h"
#include "World.h"

namespace sim {

namespace {

std::string safeName(const std::string& name) {
    std::string out;
    for (char c : name)
        out += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    return out.empty() ? "comp" : out;
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void writeChecked(const Project& project, Id comp, const std::string& dir, const std::string& name,
                  bool checkerboard) {
    std::string path = dir + "/" + name;
    checkOutputFile("--render", path);
    writeCompPicture(project, comp, path, checkerboard);
}

}  // namespace

std::string PictureNames::base(Id comp, const std::string& name) {
    auto known = bases_.find(comp);
    if (known != bases_.end()) return known->second;
    std::string safe = safeName(name);
    std::string candidate = safe;
    for (int n = 2; used_.count(lowered(candidate)); ++n)
        candidate = safe + "-" + std::to_string(n);
    used_.insert(lowered(candidate));
    bases_[comp] = candidate;
    return candidate;
}

void writeCompPicture(const Project& project, Id comp, const std::string& path, bool checkerboard) {
    const Item* item = project.findItem(comp);
    if (!item) return;
    writeCompPicture(project, comp, item->comp.currentTime, path, checkerboard);
}

void writeCompPicture(const Project& project, Id comp, Rational time, const std::string& path,
                      bool checkerboard) {
    const Item* item = project.findItem(comp);
    if (!item) return;
    World world = renderComp(project, comp, time, 1, 1);
    std::vector<uint8_t> rgba = toStraightRGBA8(world);
    if (checkerboard) {
        for (int y = 0; y < world.height; ++y) {
            for (int x = 0; x < world.width; ++x) {
                uint8_t* p = &rgba[(static_cast<size_t>(y) * world.width + x) * 4];
                double a = p[3] / 255.0;
                uint8_t check = ((x / 16 + y / 16) % 2) ? 200 : 235;
                for (int c = 0; c < 3; ++c)
                    p[c] = static_cast<uint8_t>(p[c] * a + check * (1 - a) + 0.5);
                p[3] = 255;
            }
        }
    }
    writePng(path, world.width, world.height, rgba.data());
}

std::vector<std::string> writeChangedPictures(const Project& before, const Project& after,
                                              const std::vector<ResizeRecord>& resized,
                                              const std::string& dir, PictureNames& names) {
    std::filesystem::create_directories(dir);
    std::set<Id> cropped, shown;
    for (const ResizeRecord& r : resized)
        cropped.insert(r.item);
    for (Id id : cropped)
        shown.insert(id);
    for (const Item& item : after.items) {
        if (item.type != ItemType::Comp) continue;
        for (const Layer& l : item.comp.layers)
            if (cropped.count(l.source)) shown.insert(item.id);
    }
    std::vector<std::string> written;
    for (Id id : shown) {
        const Item* a = after.findItem(id);
        const Item* b = before.findItem(id);
        std::string base = names.base(id, a ? a->name : b ? b->name : "comp");
        if (b && b->type == ItemType::Comp) {
            writeChecked(before, id, dir, base + "-before.png", true);
            written.push_back(base + "-before.png");
        }
        if (a && a->type == ItemType::Comp) {
            writeChecked(after, id, dir, base + "-after.png", true);
            written.push_back(base + "-after.png");
        }
    }
    return written;
}

void checkPictureDestinations(const Project& project, const std::string& dir) {
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) return;
    for (const Item& item : project.items) {
        if (item.type != ItemType::Comp) continue;
        std::string base = dir + "/" + safeName(item.name);
        for (const char* suffix : {"-before.png", "-after.png"}) {
            std::string path = base + suffix;
            if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
                checkOutputFile("--render", path);
        }
    }
}

}  // namespace sim
