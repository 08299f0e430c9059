// Loading a plug-in module the way the host does: open the library, find its entry point by name,
// and call it once with the basic suite and a plug-in id.
#pragma once

#include <string>

#include "AE_GeneralPlug.h"

namespace sim {

class Host;

class PluginModule {
  public:
    // Opens the module; throws std::runtime_error naming the path and the loader's message. With
    // `privateCopy` the module is loaded from a copy of its own, so that its globals start fresh
    // even when an earlier load of the same file is still mapped (tests load it many times).
    explicit PluginModule(const std::string& path, bool privateCopy = false);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Calls the entry point (once per module, as the host does) and returns its result.
    A_Err start(Host& host, AEGP_PluginID id = 1);
    AEGP_PluginID id() const { return id_; }
    const std::string& path() const { return path_; }

    // The module built beside the running program (…/plugin/Zentrim.so in the build tree).
    static std::string defaultPath();

  private:
    std::string path_;
    std::string copy_;
    void* library_ = nullptr;
    AEGP_PluginInitFunc entry_ = nullptr;
    AEGP_PluginID id_ = 0;
};

}  // namespace sim
