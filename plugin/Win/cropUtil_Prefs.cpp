// Reading the plug-in's preferences from the host's application preferences, section "Zentrim".
#include "../Util/AEGP_SuiteHandler.h"
#include "../Util/ErrorChain.h"
#include "../Zentrim_Strings.h"
#include "cropUtil.h"

namespace cropUtil {

A_Err ReadPrefFlag(SPBasicSuite* basic, const char* key, A_Boolean* valueP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_PersistentBlobH blobH = NULL;
    *valueP = 0;  // an absent key leaves the flag false
    ERR(suites.PersistentDataSuite3()->AEGP_GetApplicationBlob(&blobH));
    ERR(suites.PersistentDataSuite3()->AEGP_GetData(blobH, GetStringPtr(StrID_PrefSection), key, 1,
                                                    NULL, valueP));
    return err;
}

A_Err ReadPrefLong(SPBasicSuite* basic, const char* key, A_long fallback, A_long* valueP) {
    A_Err err = A_Err_NONE;
    AEGP_SuiteHandler suites(basic);
    AEGP_PersistentBlobH blobH = NULL;
    *valueP = fallback;
    ERR(suites.PersistentDataSuite3()->AEGP_GetApplicationBlob(&blobH));
    ERR(suites.PersistentDataSuite3()->AEGP_GetLong(blobH, GetStringPtr(StrID_PrefSection), key,
                                                    fallback, valueP));
    return err;
}

A_Err ReadPadding(SPBasicSuite* basic, A_long* paddingP) {
    A_Boolean padding = 0;
    *paddingP = 0;
    A_Err err = ReadPrefFlag(basic, GetStringPtr(StrID_PrefPadding), &padding);
    if (!err && padding)
        err = ReadPrefLong(basic, GetStringPtr(StrID_PrefPaddingAmount), 0, paddingP);
    if (*paddingP < 0) *paddingP = 0;  // a negative amount would cut into the content: none
    return err;
}

}  // namespace cropUtil
