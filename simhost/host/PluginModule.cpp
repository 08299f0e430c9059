// Loading the plug-in module with the system's dynamic loader.
#include "PluginModule.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>
#include <stdexcept>

#include "Host.h"

namespace sim {

namespace {

// Copies are removed when the process ends, not when their module is closed: the loader knows a
// loaded library by its file's inode, and a copy removed early could hand its inode to the next
// copy while the old library is still mapped.
std::vector<std::string>& copiesToRemove() {
    static std::vector<std::string> copies;
    static bool registered = false;
    if (!registered) {
        registered = true;
        std::atexit([] {
            for (const std::string& c : copiesToRemove())
                std::remove(c.c_str());
        });
    }
    return copies;
}

std::string copyToTemporary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot read the plug-in module");
    char name[] = "/tmp/zentrim-module-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) throw std::runtime_error("cannot make a temporary copy of " + path);
    close(fd);
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << in.rdbuf();
    if (!out.flush()) throw std::runtime_error("cannot make a temporary copy of " + path);
    copiesToRemove().push_back(name);
    return name;
}

}  // namespace

PluginModule::PluginModule(const std::string& path, bool privateCopy) : path_(path) {
    if (privateCopy) copy_ = copyToTemporary(path);
    const std::string& load = privateCopy ? copy_ : path;
    // RTLD_LOCAL keeps the module's symbols to itself, as separate plug-ins are in the host.
    library_ = dlopen(load.c_str(), RTLD_NOW | RTLD_LOCAL);

    if (!library_) {
        const char* why = dlerror();
        throw std::runtime_error(path + ": cannot load the plug-in module (" +
                                 (why ? why : "unknown reason") + ")");
    }
    void* symbol = dlsym(library_, "EntryPointFunc");
    if (!symbol) {
        dlclose(library_);
        library_ = nullptr;
        throw std::runtime_error(path + ": the module exports no EntryPointFunc");
    }
    entry_ = reinterpret_cast<AEGP_PluginInitFunc>(symbol);
}

PluginModule::~PluginModule() {
    // The host never unloads a plug-in while it runs; the simulator does at its end, so that
    // tests can load a fresh module with fresh globals.
    if (library_) dlclose(library_);
}

A_Err PluginModule::start(Host& host, AEGP_PluginID id) {
    id_ = id;
    AEGP_GlobalRefcon refcon = nullptr;
    try {
        return entry_(host.basicSuite(), 23, 0, id, &refcon);
    } catch (...) {
        host.log().problem("an exception left the plug-in's entry point");
        return A_Err_GENERIC;
    }
}

std::string PluginModule::defaultPath() {
    char self[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "Zentrim.so";
    self[n] = '\0';
    std::string dir(self);
    dir = dir.substr(0, dir.rfind('/'));
    // zentrim-host lives in <build>/simhost/cli, tests in <build>/tests/<folder>.
    for (const char* rel : {"/../../plugin/Zentrim.so", "/../plugin/Zentrim.so", "/Zentrim.so"}) {
        std::string candidate = dir + rel;
        if (access(candidate.c_str(), R_OK) == 0) return candidate;
    }
    return dir + "/Zentrim.so";
}

}  // namespace sim
