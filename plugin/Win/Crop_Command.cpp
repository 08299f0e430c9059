// What one user command carries from step to step: the answers its questions were given, and
// whether it has changed the project yet. The command hook forgets both when a command starts and
// when it ends, however it ends, so that nothing of one command reaches the next.
#include "Crop.h"
#include "cropUtil.h"

namespace crop {

bool projectChanged = false;

void forgetCommand() {
    resChosen = 0;
    cropUtil::threeDPref = 0;
    cropUtil::checkPrefsThreeD = 1;
    projectChanged = false;
}

}  // namespace crop
