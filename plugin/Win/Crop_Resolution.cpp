// Deciding whether a composition at reduced preview resolution is measured at full resolution.
#include <string>
#include <vector>

#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Zentrim_Strings.h"
#include "Crop.h"
#include "Crop_Scripts.h"
#include "cropUtil.h"

namespace crop {

A_long resChosen = 0;

namespace {

const char* resolutionName(short hFactor) {
    switch (hFactor) {
        case 2:
            return "half";
        case 3:
            return "third";
        case 4:
            return "quarter";
        default:
            return "less than quarter";
    }
}

// Asks in the "Low Resolution" dialog; the answer ("1" or "2") goes to resChosen.
A_Err askResolution(SPBasicSuite* basic, AEGP_PluginID pluginId, short hFactor) {
    const char* name = resolutionName(hFactor);
    // Built at full length for every name.
    std::vector<char> script(std::char_traits<char>::length(kLowResolutionDialogFormat) +
                             std::char_traits<char>::length(name) + 1);
    A_Err err = cropUtil::SprintOS(script.data(), static_cast<int>(script.size()),
                                   kLowResolutionDialogFormat, name);
    char answer[8];
    ERR(cropUtil::RunDialogScript(basic, pluginId, script.data(), answer, sizeof answer));
    if (!err) resChosen = cropUtil::DigitAnswer(answer);
    return err;
}

}  // namespace

A_Err checkResolution(SPBasicSuite* basic, AEGP_PluginID pluginId,
                      AEGP_RenderOptionsH* renderOptionsP, short* hFactorP, short* vFactorP,
                      unsigned char* fullResolutionP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_RenderOptionsSuite3* options = suites.RenderOptionsSuite3();
    *fullResolutionP = 0;
    ERR(options->AEGP_GetDownsampleFactor(*renderOptionsP, hFactorP, vFactorP));
    if (err || (*hFactorP == 1 && *vFactorP == 1)) return err;

    A_long preference = 0;
    ERR(cropUtil::ReadPrefLong(basic, GetStringPtr(StrID_PrefResolution), 0, &preference));
    if (err) return err;
    if (preference == 1) {
        *fullResolutionP = 1;
        return options->AEGP_SetDownsampleFactor(*renderOptionsP, 1, 1);
    }
    if (preference == 2) return err;

    if (resChosen == 0) err = askResolution(basic, pluginId, *hFactorP);
    if (!err && resChosen == 1) {
        *fullResolutionP = 1;
        ERR(options->AEGP_SetDownsampleFactor(*renderOptionsP, 1, 1));
    }
    return err;
}

}  // namespace crop
