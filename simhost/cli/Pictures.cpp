// Rendering compositions to PNG files for the command line's pictures.
#include "Pictures.h"

#include <cctype>
#include <cstring>
#include <filesystem>

#include "OutputPaths.h"
#include "Png.h"
#include "Renderer.h"
#include "World.h"

namespace sim {

namespace {

// Whether a code point beyond ASCII is a letter or digit of some script, as far as a file name
// cares: everything but controls, the blocks of punctuation, symbols and spaces, emoji, private
// use and the code points that are no characters.
bool isLetterBeyondAscii(uint32_t c) {
    if (c < 0xA0) return false;                                 // controls
    if (c <= 0xBF) return c == 0xAA || c == 0xB5 || c == 0xBA;  // Latin-1 signs but ª µ º
    if (c == 0xD7 || c == 0xF7) return false;                   // × ÷
    if (c >= 0x2000 && c <= 0x2BFF) return false;               // punctuation to arrows
    if (c >= 0x2E00 && c <= 0x2E7F) return false;               // supplemental punctuation
    if (c >= 0x3000 && c <= 0x303F) return false;               // CJK punctuation
    if (c >= 0xD800 && c <= 0xF8FF) return false;               // surrogates, private use
    if (c >= 0xFE00 && c <= 0xFE6F) return false;               // selectors, small forms
    if (c == 0xFEFF) return false;                              // byte-order mark
    if (c >= 0xFF00 && c <= 0xFF65)                             // full-width ASCII
        return (c >= 0xFF10 && c <= 0xFF19) || (c >= 0xFF21 && c <= 0xFF3A) ||
               (c >= 0xFF41 && c <= 0xFF5A);
    if (c >= 0xFFF0 && c <= 0xFFFF) return false;    // specials
    if (c >= 0x1F000 && c <= 0x1FAFF) return false;  // emoji, pictographs
    if (c >= 0xE0000) return false;                  // tags, private use planes
    return true;
}

// The next character of UTF-8 text at `at`: its code point and length; an invalid byte is one
// character of its own (code point 0).
uint32_t nextCharacter(const std::string& text, size_t at, size_t* length) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char first = byte(at);
    size_t n = first < 0x80         ? 1
               : (first >> 5) == 6  ? 2
               : (first >> 4) == 14 ? 3
               : (first >> 3) == 30 ? 4
                                    : 0;
    uint32_t c = n == 1 ? first : n == 2 ? first & 0x1F : n == 3 ? first & 0x0F : first & 0x07;
    if (n == 0 || at + n > text.size()) {
        *length = 1;
        return 0;
    }
    for (size_t i = 1; i < n; ++i) {
        if ((byte(at + i) >> 6) != 2) {
            *length = 1;
            return 0;
        }
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    *length = n;
    return c;
}

std::string lowered(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

const char* const kPictureKinds[] = {"-before.png", "-after.png"};
const char* const kTimedPictureKinds[] = {"-diff-", "-cut-"};

void writeChecked(const Project& project, Id comp, const std::string& dir, const std::string& name,
                  bool checkerboard) {
    std::string path = dir + "/" + name;
    checkOutputFile("--render", path);
    writeCompPicture(project, comp, path, checkerboard);
}

}  // namespace

std::string pictureSafeName(const std::string& name, size_t maxBytes) {
    std::string out;
    for (size_t at = 0, length = 0; at < name.size(); at += length) {
        uint32_t c = nextCharacter(name, at, &length);
        bool kept = c < 0x80 ? std::isalnum(static_cast<int>(c)) || c == '-' || c == '_'
                             : isLetterBeyondAscii(c);
        std::string piece = kept ? name.substr(at, length) : "_";
        if (out.size() + piece.size() > maxBytes) break;
        out += piece;
    }
    return out.empty() ? "comp" : out;
}

PictureNames::PictureNames(const Project& project) {
    for (const Item& item : project.items) {
        if (item.type != ItemType::Comp) continue;
        base(item.id, item.name);
        base(item.id, item.name, "itself");
    }
}

std::string PictureNames::base(Id comp, const std::string& name, const std::string& view) {
    auto known = bases_.find({comp, view});
    if (known != bases_.end()) return known->second;
    std::string safe = pictureSafeName(name) + (view.empty() ? "" : "-" + view);
    std::string candidate = safe;
    for (int n = 2; owners_.count(lowered(candidate)); ++n)
        candidate = safe + "-" + std::to_string(n);
    owners_[lowered(candidate)] = name;
    bases_[{comp, view}] = candidate;
    return candidate;
}

std::string PictureNames::pictureOwner(const std::string& fileName) const {
    const std::string file = lowered(fileName);
    for (const auto& [base, owner] : owners_) {
        if (file.compare(0, base.size(), base) != 0) continue;
        const std::string rest = file.substr(base.size());
        for (const char* kind : kPictureKinds)
            if (rest == kind) return owner;
        for (const char* kind : kTimedPictureKinds)
            if (rest.rfind(kind, 0) == 0 && rest.size() > std::strlen(kind) + 4 &&
                rest.compare(rest.size() - 4, 4, ".png") == 0)
                return owner;
    }
    return "";
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

void checkPictureDestinations(const PictureNames& names, const Project& project,
                              const std::string& dir) {
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) return;
    PictureNames bases = names;
    for (const Item& item : project.items) {
        if (item.type != ItemType::Comp) continue;
        std::string base = dir + "/" + bases.base(item.id, item.name);
        for (const char* suffix : kPictureKinds) {
            std::string path = base + suffix;
            if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
                checkOutputFile("--render", path);
        }
    }
}

}  // namespace sim
