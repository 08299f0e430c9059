// What run --verify compares, and against what: the compositions that show a cropped one, each
// cropped composition as itself, the times that matter, and the projects that say what the crop
// may keep and what it had to keep because the command measured it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Host.h"

namespace sim {

// The crop command that ran, as the user started it: what it measured follows from the project
// before it (the active composition, its current time and selection) and from these.
struct CropCommand {
    enum class Kind { Unknown, Standard, Duration, MaskCrop };
    Kind kind = Kind::Unknown;  // Unknown: no single crop command (nothing counts as measured)
    bool everyFrame = false;    // the crop over the duration ran: every frame is compared
    bool includeMasks = false;  // the "IncludeMasks" preference as it was
    Id maskCroppedTo = 0;       // Mask Crop: the mask whose outline it read (0: not known)
};

// The name of an action as the report gives it ("Zentrim", "Zentrim Duration", "Mask Crop") as a
// crop command's kind; Unknown for anything else (several actions, the preferences).
CropCommand::Kind cropKindOfAction(const std::string& action);

// What a cropped composition kept: the rectangle of its former frame that its new frame shows
// (left, top, width, height in its former pixels).
struct CropWindow {
    Id comp = 0;
    double left = 0, top = 0;
    int width = 0, height = 0;
};

// The crop window of each cropped composition that existed before, read from what the crop did to
// it: its new size, and the offset by which its layers without a parent were carried. A
// composition with no such layer has none (and is compared without one).
std::vector<CropWindow> cropWindows(const Project& before, const Project& after,
                                    const std::vector<ResizeRecord>& resized);

// `before` with every layer that shows a cropped composition limited to its crop window (an
// intersecting mask of the window appended to its masks): what the crop may keep of the picture.
Project limitedToCropWindows(const Project& before, const std::vector<CropWindow>& windows);

// The compositions of `after` that show a cropped composition (one of `resized`), directly or
// through any depth of nested compositions, and are not cropped themselves and existed before.
// In project order.
std::vector<Id> dependentComps(const Project& before, const Project& after,
                               const std::vector<ResizeRecord>& resized);

// The times (composition time) at which `comp` is compared: its current time (before and after),
// and the in point, the last frame before the out point and every keyframe time of each layer
// between it and a cropped composition, mapped to its own time (uses under a time remap add
// none); the times at which it shows a cropped composition at the source time the command
// measured it (`measured`, by composition; through uses without a time remap); with
// `everyFrame` (the crop over the duration) every frame of its duration. Sorted, each once,
// within [0, duration).
std::vector<Rational> verificationTimes(const Project& before, const Project& after, Id comp,
                                        const std::vector<ResizeRecord>& resized, bool everyFrame,
                                        const std::map<Id, Rational>& measured = {});

// One frame to compare, and whether some use in it shows content the command measured (`cut`:
// the kept projects differ from the limited one there; `inMask`: Mask Crop's region is involved,
// so the kept-in-window project must be rendered too).
struct VerifyFrame {
    Rational time;
    bool measured = false;
    bool inMask = false;
};

// One composition to compare: a composition that shows a cropped one, or a cropped composition
// as itself (shown through a composition of its former size, made for the comparison).
struct VerifyTarget {
    Id comp = 0;        // in the plan's projects
    std::string name;   // as reported: the composition's name, "<name> (itself)" for a cropped one
    Id pictureKey = 0;  // for picture names: the composition
    std::string pictureName;  // the name picture files are made from
    std::string pictureView;  // "" or "itself" (PictureNames::base)
    std::vector<VerifyFrame> frames;
};

// Everything run --verify renders. Each use of a cropped composition is drawn
//  - in `limited`: within its crop window (what the crop may keep);
//  - in `kept`: within the window where the command did not measure what the use shows, and
//    wholly (or, for Mask Crop, within the mask it cropped to) where it did;
//  - in `keptInWindow`: as in `kept`, and within the window too.
// Content in `kept` but not in `keptInWindow` was visible at a time the command measured and lies
// outside the window: if it is gone afterwards, the crop cut it. `before` and `after` are the
// projects with the cropped compositions' own views added.
struct VerifyPlan {
    Project before, after, limited, kept, keptInWindow;
    std::vector<VerifyTarget> targets;
    std::vector<CropWindow> windows;
    size_t resizedCount = 0;
};

VerifyPlan planVerification(const Project& before, const Project& after,
                            const std::vector<ResizeRecord>& resized, const CropCommand& command);

}  // namespace sim
