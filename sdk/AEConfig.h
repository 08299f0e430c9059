// Platform macros that the host API headers and the plug-in test for (WIN_ENV / MAC_ENV).
#ifndef ZENTRIM_SDK_AECONFIG_H
#define ZENTRIM_SDK_AECONFIG_H

#if defined(_WIN32) && !defined(WIN_ENV)
#define WIN_ENV 1
#endif

#if defined(__APPLE__) && !defined(MAC_ENV)
#define MAC_ENV 1
#endif

#endif  // ZENTRIM_SDK_AECONFIG_H
