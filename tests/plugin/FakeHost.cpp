// A minimal stand-in host for unit tests of host-calling helpers.
#include "FakeHost.h"

#include <cstring>
#include <stdexcept>

namespace {

FakeHost* g_host = nullptr;

struct MemBlock {
    std::string bytes;
    int locks = 0;
};

AEGP_WorldSuite3 worldSuite() {
    AEGP_WorldSuite3 s{};
    s.AEGP_GetSize = [](AEGP_WorldH, A_long* w, A_long* h) -> A_Err {
        if (A_Err e = g_host->call("GetSize")) return e;
        *w = g_host->width;
        *h = g_host->height;
        return A_Err_NONE;
    };
    s.AEGP_GetRowBytes = [](AEGP_WorldH, A_u_long* rb) -> A_Err {
        if (A_Err e = g_host->call("GetRowBytes")) return e;
        *rb = g_host->rowBytes;
        return A_Err_NONE;
    };
    s.AEGP_GetType = [](AEGP_WorldH, AEGP_WorldType* t) -> A_Err {
        if (A_Err e = g_host->call("GetType")) return e;
        *t = g_host->worldType;
        return A_Err_NONE;
    };
    s.AEGP_GetBaseAddr8 = [](AEGP_WorldH, PF_Pixel8** p) -> A_Err {
        if (A_Err e = g_host->call("GetBaseAddr8")) return e;
        if (g_host->worldType != AEGP_WorldType_8) return A_Err_PARAMETER;
        *p = reinterpret_cast<PF_Pixel8*>(g_host->pixels.data());
        return A_Err_NONE;
    };
    s.AEGP_GetBaseAddr16 = [](AEGP_WorldH, PF_Pixel16** p) -> A_Err {
        if (A_Err e = g_host->call("GetBaseAddr16")) return e;
        if (g_host->worldType != AEGP_WorldType_16) return A_Err_PARAMETER;
        *p = reinterpret_cast<PF_Pixel16*>(g_host->pixels.data());
        return A_Err_NONE;
    };
    s.AEGP_GetBaseAddr32 = [](AEGP_WorldH, PF_PixelFloat** p) -> A_Err {
        if (A_Err e = g_host->call("GetBaseAddr32")) return e;
        if (g_host->worldType != AEGP_WorldType_32) return A_Err_PARAMETER;
        *p = reinterpret_cast<PF_PixelFloat*>(g_host->pixels.data());
        return A_Err_NONE;
    };
    return s;
}

AEGP_PersistentDataSuite3 prefsSuite() {
    AEGP_PersistentDataSuite3 s{};
    s.AEGP_GetApplicationBlob = [](AEGP_PersistentBlobH* b) -> A_Err {
        if (A_Err e = g_host->call("GetApplicationBlob")) return e;
        *b = reinterpret_cast<AEGP_PersistentBlobH>(g_host);
        return A_Err_NONE;
    };
    s.AEGP_GetData = [](AEGP_PersistentBlobH, const A_char* section, const A_char* key,
                        A_u_long size, const void* def, void* buf) -> A_Err {
        if (A_Err e = g_host->call((std::string("GetData ") + key).c_str())) return e;
        auto it = g_host->flags.find(key);
        if (std::string(section) == "Zentrim" && it != g_host->flags.end() && size == 1) {
            std::memcpy(buf, &it->second, 1);
        } else if (def) {
            std::memcpy(buf, def, size);
        }
        return A_Err_NONE;
    };
    s.AEGP_GetLong = [](AEGP_PersistentBlobH, const A_char* section, const A_char* key, A_long def,
                        A_long* out) -> A_Err {
        if (A_Err e = g_host->call((std::string("GetLong ") + key).c_str())) return e;
        auto it = g_host->longs.find(key);
        *out = (std::string(section) == "Zentrim" && it != g_host->longs.end()) ? it->second : def;
        return A_Err_NONE;
    };
    return s;
}

AEGP_UtilitySuite5 utilitySuite() {
    AEGP_UtilitySuite5 s{};
    s.AEGP_ExecuteScript = [](AEGP_PluginID, const A_char* script, const A_Boolean,
                              AEGP_MemHandle* resultPH, AEGP_MemHandle*) -> A_Err {
        if (A_Err e = g_host->call("ExecuteScript")) return e;
        g_host->scripts.push_back(script);
        if (g_host->scriptError) return g_host->scriptError;
        if (resultPH) {
            auto* block = new MemBlock{g_host->scriptResult + '\0', 0};
            ++g_host->liveMemHandles;
            *resultPH = reinterpret_cast<AEGP_MemHandle>(block);
        }
        return A_Err_NONE;
    };
    return s;
}

AEGP_MemorySuite1 memorySuite() {
    AEGP_MemorySuite1 s{};
    s.AEGP_GetMemHandleSize = [](AEGP_MemHandle h, AEGP_MemSize* size) -> A_Err {
        if (A_Err e = g_host->call("GetMemHandleSize")) return e;
        *size = static_cast<AEGP_MemSize>(reinterpret_cast<MemBlock*>(h)->bytes.size());
        return A_Err_NONE;
    };
    s.AEGP_LockMemHandle = [](AEGP_MemHandle h, void** p) -> A_Err {
        if (A_Err e = g_host->call("LockMemHandle")) return e;
        auto* block = reinterpret_cast<MemBlock*>(h);
        ++block->locks;
        *p = block->bytes.data();
        return A_Err_NONE;
    };
    s.AEGP_UnlockMemHandle = [](AEGP_MemHandle h) -> A_Err {
        if (A_Err e = g_host->call("UnlockMemHandle")) return e;
        --reinterpret_cast<MemBlock*>(h)->locks;
        return A_Err_NONE;
    };
    s.AEGP_FreeMemHandle = [](AEGP_MemHandle h) -> A_Err {
        if (A_Err e = g_host->call("FreeMemHandle")) return e;
        delete reinterpret_cast<MemBlock*>(h);
        --g_host->liveMemHandles;
        return A_Err_NONE;
    };
    return s;
}

AEGP_WorldSuite3 g_world = worldSuite();
AEGP_PersistentDataSuite3 g_prefs = prefsSuite();
AEGP_UtilitySuite5 g_utility = utilitySuite();
AEGP_MemorySuite1 g_memory = memorySuite();

}  // namespace

FakeHost::FakeHost() {
    if (g_host) throw std::logic_error("one FakeHost at a time");
    g_host = this;
    basic_.AcquireSuite = [](const char* name, int32_t version, const void** suite) -> SPErr {
        std::string n(name);
        if (n == g_host->missingSuite) return 1;
        *suite = nullptr;
        if (n == kAEGPWorldSuite && version == kAEGPWorldSuiteVersion3) *suite = &g_world;
        if (n == kAEGPPersistentDataSuite && version == kAEGPPersistentDataSuiteVersion3)
            *suite = &g_prefs;
        if (n == kAEGPUtilitySuite && version == kAEGPUtilitySuiteVersion5) *suite = &g_utility;
        if (n == kAEGPMemorySuite && version == kAEGPMemorySuiteVersion1) *suite = &g_memory;
        if (!*suite) return 1;
        ++g_host->acquired[n];
        return kSPNoError;
    };
    basic_.ReleaseSuite = [](const char* name, int32_t) -> SPErr {
        ++g_host->released[name];
        return kSPNoError;
    };
}

FakeHost::~FakeHost() {
    g_host = nullptr;
}

void FakeHost::makeWorld(AEGP_WorldType type, A_long w, A_long h, A_u_long padding) {
    worldType = type;
    width = w;
    height = h;
    size_t bytes = type == AEGP_WorldType_8 ? 4 : type == AEGP_WorldType_16 ? 8 : 16;
    rowBytes = static_cast<A_u_long>(w * bytes + padding);
    pixels.assign(static_cast<size_t>(rowBytes) * h, 0);
}

void FakeHost::setAlpha(A_long x, A_long y, double alpha) {
    size_t bytes = worldType == AEGP_WorldType_8 ? 4 : worldType == AEGP_WorldType_16 ? 8 : 16;
    unsigned char* p = pixels.data() + static_cast<size_t>(y) * rowBytes + x * bytes;
    if (worldType == AEGP_WorldType_8) {
        p[0] = static_cast<unsigned char>(alpha);
    } else if (worldType == AEGP_WorldType_16) {
        unsigned short v = static_cast<unsigned short>(alpha);
        std::memcpy(p, &v, 2);
    } else {
        float f = static_cast<float>(alpha);
        std::memcpy(p, &f, 4);
    }
}

A_Err FakeHost::call(const char* name) {
    calls.push_back(name);
    return failCall == name ? failWith : A_Err_NONE;
}
