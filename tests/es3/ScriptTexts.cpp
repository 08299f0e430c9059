// Writes every script text the plug-in hands to the host, formatted as the plug-in formats it
// with its longest values, one file each, for the ECMAScript 3 syntax check (check-es3.js).
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "Crop_Scripts.h"
#include "Zentrim_Scripts.h"
#include "cropUtil.h"

namespace {

struct Text {
    std::string name;
    std::string script;
};

// A format text with its one "%s" filled in, through the plug-in's own formatting.
std::string formatted(const char* format, const std::string& value) {
    std::vector<char> buffer(std::char_traits<char>::length(format) + value.size() + 1);
    cropUtil::SprintOS(buffer.data(), static_cast<int>(buffer.size()), format, value.c_str());
    return buffer.data();
}

// The skipped-layer list the standard crop builds: 0-based layer indices joined with ",". The
// longest names every layer of a composition; 32767 layers stand for it.
std::string skippedLayers(int count) {
    std::string list;
    for (int i = 0; i < count; ++i)
        list += (i ? "," : "") + std::to_string(i);
    return list;
}

// A size alert with a name that holds every character the escaping must handle, and the
// longest sizes the plug-in writes ("%.15g" of a huge or tiny double).
std::string sizeAlert(const char* format) {
    std::u16string name = u"A 'quoted' \"name\" \\ with\r\na line break \u2028 and \u65e5";
    std::string escaped =
        cropUtil::ScriptStringFromUTF16(reinterpret_cast<const A_UTF16Char*>(name.c_str()));
    std::vector<char> buffer(std::char_traits<char>::length(format) + escaped.size() + 64);
    cropUtil::SprintOS(buffer.data(), static_cast<int>(buffer.size()), format, escaped.c_str(),
                       "-1.79769313486232e+308", "4294967354");
    return buffer.data();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    std::vector<Text> texts = {
        {"preferences-dialog", kPreferencesDialog},
        {"panel-request-failed-alert", kPanelRequestFailedAlert},
        {"invalid-selection-alert", kInvalidSelectionAlert},
        {"no-layers-to-crop-alert", crop::kNoLayersToCropAlert},
        {"nothing-to-crop-alert", crop::kNothingToCropAlert},
        {"three-d-dialog", crop::kThreeDDialog},
        {"choose-mask-dialog", crop::kChooseMaskDialog},
        {"skipped-layers-one", formatted(crop::kSkippedLayersReportFormat, "7")},
        {"skipped-layers-longest",
         formatted(crop::kSkippedLayersReportFormat, skippedLayers(32767))},
        {"size-out-of-range-alert", sizeAlert(crop::kSizeOutOfRangeAlertFormat)},
        {"size-out-of-range-after-changes-alert",
         sizeAlert(crop::kSizeOutOfRangeAfterChangesAlertFormat)},
    };
    // Every resolution name the plug-in may insert ("less than quarter" is the longest).
    for (const char* name : {"half", "third", "quarter", "less than quarter"}) {
        std::string file = std::string("low-resolution-dialog-") + name;
        for (char& c : file)
            if (c == ' ') c = '-';
        texts.push_back({file, formatted(crop::kLowResolutionDialogFormat, name)});
    }
    for (const Text& t : texts) {
        std::string path = std::string(argv[1]) + "/" + t.name + ".js";
        std::ofstream out(path, std::ios::binary);
        out << t.script;
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    std::printf("%zu script texts written to %s\n", texts.size(), argv[1]);
    return 0;
}
