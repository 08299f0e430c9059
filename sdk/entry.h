// DllExport: marks the plug-in entry point as the one symbol the host needs exported.
#ifndef ZENTRIM_SDK_ENTRY_H
#define ZENTRIM_SDK_ENTRY_H

#ifndef DllExport
#ifdef _WIN32
#define DllExport __declspec(dllexport)
#else
#define DllExport __attribute__((visibility("default")))
#endif
#endif

#endif  // ZENTRIM_SDK_ENTRY_H
