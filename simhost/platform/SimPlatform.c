/* The simulator platform's keyboard and progress stand-ins, forwarding to the host. */
#include "SimPlatform.h"

#include <stddef.h>

static ZentrimSimFlagsSource g_flags = NULL;
static ZentrimSimProgressSink g_progress = NULL;

void ZentrimSimInstall(ZentrimSimFlagsSource flags, ZentrimSimProgressSink progress) {
    g_flags = flags;
    g_progress = progress;
}

CGEventFlags CGEventSourceFlagsState(CGEventSourceStateID state) {
    (void)state;
    return g_flags ? g_flags() : 0;
}

void ZentrimSimProgressOpen(int firstRun) {
    if (g_progress) g_progress(0, firstRun != 0);
}

void ZentrimSimProgressSetPercent(int percent) {
    if (g_progress) g_progress(1, percent);
}

void ZentrimSimProgressClose(void) {
    if (g_progress) g_progress(2, 0);
}
