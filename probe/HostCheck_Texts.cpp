// The Host Check's texts. ASCII only: they reach the host in a script and a plain text file on
// every platform.
#include "HostCheck_Texts.h"

namespace hostcheck {

const char* const kName = "Zentrim Host Check";
const char* const kVersion = HOSTCHECK_VERSION;  // the project's version, from the build
const char* const kFolderName = "Zentrim Host Check (temporary)";
const char* const kPrefSection = "Zentrim Host Check";
const char* const kReportFileName = "Zentrim Host Check report.txt";

const char* const kCouldNotRun =
    "The check could not be made in this host, so what the plug-in relies on here is unknown. "
    "Please send this report: the failure above is the first thing to look at.";

namespace {

struct Meaning {
    const char* check;
    const char* matches;  // "none" for anything the simulator does not play
    const char* text;
};

const Meaning kMeanings[] = {
    {"resize-uses", "proportional",
     "The plug-in's correction of the uses of a cropped composition divides exactly this rescale "
     "back out: the uses stay where they were."},
    {"resize-uses", "unchanged",
     "This host leaves the uses of a resized composition alone, so the plug-in's correction "
     "would move every use of a cropped composition. The correction must change before Zentrim "
     "is used in this host (zentrim-host plays it with --host-model resize-uses=unchanged)."},
    {"resize-uses", "none",
     "This host changes the uses of a resized composition in a way the simulator does not play: "
     "the uses of a cropped composition may move. The simulator needs this behaviour first."},
    {"resize-children", "unchanged",
     "The children of the uses of a resized composition keep their positions, as the plug-in "
     "expects."},
    {"resize-children", "proportional",
     "This host rescales the positions of the children of uses. The plug-in is built to keep "
     "everything in place under this behaviour too (zentrim-host plays it with --host-model "
     "resize-children=proportional)."},
    {"resize-children", "none",
     "This host moves the children of the uses of a resized composition in a way the simulator "
     "does not play: they may move when a composition is cropped."},
    {"parent-keeps-values", "keeps",
     "Parenting keeps the child's own values, so the crop's temporary null moves the "
     "composition's layers by exactly the crop's offset."},
    {"parent-keeps-values", "none",
     "Parenting changes the child's values in this host: the crop's temporary null would "
     "displace the layers of every cropped composition."},
    {"delete-parent-folds", "folds",
     "Deleting a parent leaves its children where they appear, so removing the crop's temporary "
     "null leaves the layers where the crop put them."},
    {"delete-parent-folds", "none",
     "Deleting a parent does not leave its children where they appear in this host: the layers "
     "of a cropped composition would jump when the crop removes its temporary null."},
    {"null-layer", "standard",
     "A new null is 100 x 100 with its anchor point at (0, 0, 0) at the composition's centre, so "
     "it moves its children by exactly its position's offset, as the crop expects."},
    {"null-layer", "none",
     "A new null is not what the crop expects (100 x 100, anchor point (0, 0, 0), at the "
     "composition's centre): the crop's offset of the composition's layers would be wrong."},
    {"vertex0", "independent",
     "Writing a mask vertex changes no other vertex: the plug-in's rewrite of mask points is "
     "right."},
    {"vertex0", "coupled",
     "Writing vertex 0 also sets the last vertex's out-tangent from vertex 0's in-tangent. The "
     "plug-in is built to stay right under this behaviour (zentrim-host plays it with "
     "--host-model vertex0=coupled)."},
    {"vertex0", "none",
     "Writing vertex 0 changes the last vertex in a way the simulator does not play: masks of "
     "cropped compositions may change shape."},
    {"keyed-set-stream-value", "refused",
     "A keyframed value cannot be set as a whole, so the plug-in changes it key by key, as it "
     "does."},
    {"keyed-set-stream-value", "none",
     "This host sets a keyframed value as a whole, which the simulator refuses: the plug-in "
     "still works key by key, but the simulator differs from this host here."},
    {"masked-bounds-space", "source",
     "Masked bounds are in the layer's source pixels, as the mask crop reads them."},
    {"masked-bounds-space", "none",
     "Masked bounds are not in the layer's source pixels in this host: the mask crop would crop "
     "to the wrong rectangle."},
    {"render-downsample", "preview",
     "New render options start at the composition's preview resolution, so the plug-in's Low "
     "Resolution question is needed, and asked."},
    {"render-downsample", "full",
     "New render options start at full resolution: the plug-in measures at full resolution "
     "without asking (zentrim-host plays it with --host-model render-downsample=full)."},
    {"render-downsample", "none",
     "New render options start at a resolution the simulator does not play: the plug-in may "
     "measure at a reduced resolution without asking."},
    {"float-as-long", "truncate",
     "Amounts the preferences dialog saves (padding, expand) read back as whole pixels, as the "
     "plug-in expects."},
    {"float-as-long", "zero",
     "Amounts the preferences dialog saves read back as 0: the padding and expand amounts would "
     "be ignored. The plug-in must read them another way before it is used in this host "
     "(zentrim-host plays it with --host-model float-as-long=zero)."},
    {"float-as-long", "none",
     "Amounts the preferences dialog saves read back as something the simulator does not play: "
     "the padding and expand amounts would be off."},
    {"bool-pref", "one-byte",
     "Switches the preferences dialog saves read back as the plug-in reads them."},
    {"bool-pref", "none",
     "Switches the preferences dialog saves do not read back as one byte holding 1: the plug-in "
     "would take every switch for off."},
    {"script-error", "error", "A failing script is reported as an error, as the plug-in expects."},
    {"script-error", "silent",
     "A failing script reports success with an empty answer. The plug-in takes an empty answer "
     "for no choice and is built to stay right under this behaviour (zentrim-host plays it with "
     "--host-model script-error=silent)."},
};

}  // namespace

std::string meaningOf(const std::string& name, const std::string& matches) {
    for (const Meaning& m : kMeanings)
        if (name == m.check && matches == m.matches) return m.text;
    return "This host does something the simulator does not play. Please send this report.";
}

}  // namespace hostcheck
