// What the Windows test host does with the loaded plug-in: the user's steps and the checks.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "AE_GeneralPlug.h"
#include "Host.h"

namespace wintest {

// A loaded copy of the plug-in module.
struct LoadedPlugin {
    HMODULE module = NULL;
    AEGP_PluginInitFunc entry = nullptr;
    AEGP_PluginID id = 0;
};

struct Bench {
    explicit Bench(sim::Host& h) : host(h) {}
    sim::Host& host;
    HWND mainWindow = NULL;
    std::string workFolder;   // the module's second copy and the screenshot handshake
    std::string pluginPath;   // the built Zentrim.aex
    std::string sandbox;      // where scripts' "~/" paths lead
    bool screenshot = false;  // capture the progress window once (needs the script around)
    std::function<void(int frame)> onFrame;  // before each frame the plug-in renders
    int frames = 0;
};

// Loads a module, watches its user32 imports and calls its entry point as the host does.
bool loadPlugin(Bench& bench, const std::string& path, AEGP_PluginID id, LoadedPlugin* out);

void runScenarios(Bench& bench, const LoadedPlugin& plugin);

}  // namespace wintest
