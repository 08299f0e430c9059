// Rendering what run --verify planned, before and after, and counting what moved or was cut.
#include "Verify.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "OutputPaths.h"
#include "Png.h"
#include "Renderer.h"
#include "World.h"

namespace sim {

namespace {

// Pixels that differ in any channel, marked in `differs`; worlds of another size or depth differ
// everywhere. Rows that are equal as a whole are passed over at once.
int64_t countDifferences(const World& a, const World& b, std::vector<uint8_t>* differs) {
    const size_t all = static_cast<size_t>(a.width) * static_cast<size_t>(a.height);
    if (a.type != b.type || a.width != b.width || a.height != b.height) {
        differs->assign(all, 1);
        return static_cast<int64_t>(all);
    }
    differs->assign(all, 0);
    const size_t pixel = bytesPerPixel(a.type), row = pixel * static_cast<size_t>(a.width);
    int64_t count = 0;
    for (int y = 0; y < a.height; ++y) {
        const uint8_t* pa = pixelAddress(a, 0, y);
        const uint8_t* pb = pixelAddress(b, 0, y);
        if (std::memcmp(pa, pb, row) == 0) continue;
        uint8_t* marks = differs->data() + static_cast<size_t>(y) * static_cast<size_t>(a.width);
        for (int x = 0; x < a.width; ++x) {
            const size_t at = static_cast<size_t>(x) * pixel;
            if (std::memcmp(pa + at, pb + at, pixel) == 0) continue;
            marks[x] = 1;
            ++count;
        }
    }
    return count;
}

// The frame, dimmed, with every marked pixel magenta.
void writeDiffPicture(const World& frame, const std::vector<uint8_t>& marked,
                      const std::string& path) {
    std::vector<uint8_t> rgba = toStraightRGBA8(frame);
    for (size_t i = 0; i < marked.size(); ++i) {
        uint8_t* p = &rgba[i * 4];
        if (marked[i]) {
            p[0] = 255;
            p[1] = 0;
            p[2] = 255;
        } else {
            int grey = (p[0] + p[1] + p[2]) / 3 * p[3] / 255;
            auto dim = static_cast<uint8_t>(255 - (255 - grey) * 3 / 10);
            p[0] = p[1] = p[2] = dim;
        }
        p[3] = 255;
    }
    writePng(path, frame.width, frame.height, rgba.data());
}

std::string timeForFileName(Rational t) {
    std::string text = t.toString();
    std::replace(text.begin(), text.end(), '/', '_');
    return text;
}

std::string counted(int64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Renders frame after frame into the same memory.
struct Renders {
    RenderScratch scratch;
    ReusableFrame before, limited, after, kept, keptInWindow;
    const World& render(const Project& p, Id comp, Rational t, ReusableFrame& into) {
        renderComp(p, comp, t, 1, 1, into, scratch);
        return into.world;
    }
};

}  // namespace

Verification verifyCrop(const Project& before, const Project& after,
                        const std::vector<ResizeRecord>& resized, const CropCommand& command,
                        const std::string& diffDir, PictureNames& names) {
    Verification v;
    v.resized = resized.size();
    const VerifyPlan plan = planVerification(before, after, resized, command);
    Renders r;
    std::vector<uint8_t> moved, cut, removed;
    auto picture = [&](const VerifyTarget& target, const char* kind, Rational t, const World& frame,
                       const std::vector<uint8_t>& marked) {
        if (diffDir.empty()) return std::string();
        std::filesystem::create_directories(diffDir);
        std::string name = names.base(target.pictureKey, target.pictureName, target.pictureView) +
                           "-" + kind + "-" + timeForFileName(t) + ".png";
        std::string path = diffDir + "/" + name;
        checkOutputFile("--render", path);
        writeDiffPicture(frame, marked, path);
        return name;
    };
    for (const VerifyTarget& target : plan.targets) {
        v.comps.push_back(target.name);
        for (const VerifyFrame& frame : target.frames) {
            const Rational t = frame.time;
            ++v.frames;
            const World& limited = r.render(plan.limited, target.comp, t, r.limited);
            const World& now = r.render(plan.after, target.comp, t, r.after);
            int64_t movedPixels = countDifferences(now, limited, &moved);
            if (movedPixels > 0) {
                v.differingPixels += movedPixels;
                v.differences.push_back(
                    {target.name, t, movedPixels, picture(target, "diff", t, now, moved)});
            }
            cut.assign(moved.size(), 0);
            if (frame.measured) {
                const World& kept = r.render(plan.kept, target.comp, t, r.kept);
                const World& inWindow =
                    frame.inMask ? r.render(plan.keptInWindow, target.comp, t, r.keptInWindow)
                                 : limited;
                int64_t cutPixels = countDifferences(kept, inWindow, &cut);
                if (cutPixels > 0) {
                    v.cutPixels += cutPixels;
                    v.cut.push_back(
                        {target.name, t, cutPixels, picture(target, "cut", t, kept, cut)});
                }
            }
            if (plan.windows.empty()) continue;
            const World& was = r.render(plan.before, target.comp, t, r.before);
            countDifferences(was, limited, &removed);
            int64_t away = 0;
            for (size_t i = 0; i < removed.size(); ++i)
                away += removed[i] && (i >= cut.size() || !cut[i]);
            if (away > 0) {
                v.croppedAwayPixels += away;
                v.croppedAway.push_back({target.name, t, away, ""});
            }
        }
    }
    return v;
}

std::string verificationSummary(const Verification& v) {
    if (v.frames == 0)
        return v.resized == 0 ? "nothing to compare: the command resized no composition"
                              : "nothing to compare: no composition resized existed before the "
                                "command";
    std::string scope =
        counted(static_cast<int64_t>(v.comps.size()), "composition", "compositions") + ", " +
        counted(v.frames, "frame", "frames");
    std::string away;
    if (v.croppedAwayPixels > 0)
        away = "; outside the crop window and not measured, " +
               counted(v.croppedAwayPixels, "pixel of content is", "pixels of content are") +
               " no longer shown in " +
               counted(static_cast<int64_t>(v.croppedAway.size()), "frame", "frames");
    if (v.passed()) return "nothing moved, nothing cut: " + scope + ", 0 pixels differ" + away;
    std::string what;
    if (!v.nothingMoved())
        what = "MOVED: " + counted(v.differingPixels, "pixel differs", "pixels differ") + " in " +
               counted(static_cast<int64_t>(v.differences.size()), "frame", "frames");
    if (!v.nothingCut())
        what += std::string(what.empty() ? "" : "; ") + "CUT: " +
                counted(v.cutPixels, "pixel visible at the measured time is gone",
                        "pixels visible at the measured time are gone") +
                " in " + counted(static_cast<int64_t>(v.cut.size()), "frame", "frames");
    return what + " (" + scope + " compared)" + away;
}

}  // namespace sim
