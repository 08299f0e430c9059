// The simulated host installs its keyboard and progress sinks here; the Windows plug-in never
// asks for them (it uses the real key state and window), so the stand-in keeps nothing.
#include "SimPlatform.h"

extern "C" void ZentrimSimInstall(ZentrimSimFlagsSource /*flags*/,
                                  ZentrimSimProgressSink /*progress*/) {}
