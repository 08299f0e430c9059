// Persistent Data and Memory suites: the application preferences and memory handles.
#include <cstring>

#include "Suites.h"
#include "Trampoline.h"

namespace sim {

// The names the call log gives the calls through these tables.
constexpr char kPersistentDataSuite[] = "PersistentDataSuite";
constexpr char kMemorySuite[] = "MemorySuite";

namespace {

// ---- Persistent Data suite (application blob only) ----

void requireBlob(Host& h, AEGP_PersistentBlobH blobH) {
    h.record(blobH, HandleKind::Blob, "preferences blob");
}

A_Err GetApplicationBlob(AEGP_PersistentBlobH* blobPH) {
    return hostCall("AEGP_GetApplicationBlob", [&](Host& h) {
        requireOut(blobPH, "blob");
        *blobPH = h.handles().object(HandleKind::Blob, 0)->handle<AEGP_PersistentBlobH>();
        return A_Err_NONE;
    });
}

// Raw bytes of a stored value: a boolean is one byte, a long four, a double eight, text its bytes.
std::string bytesOf(const PrefValue& v) {
    std::string out;
    if (auto b = std::get_if<bool>(&v)) {
        out.push_back(*b ? 1 : 0);
    } else if (auto l = std::get_if<long>(&v)) {
        A_long x = static_cast<A_long>(*l);
        out.assign(reinterpret_cast<const char*>(&x), sizeof x);
    } else if (auto d = std::get_if<double>(&v)) {
        out.assign(reinterpret_cast<const char*>(d), sizeof *d);
    } else {
        out = std::get<std::string>(v);
    }
    return out;
}

// The value a read of an absent key leaves in the preferences: the bytes it answered with, kept in
// the type a value of that size has (a boolean one byte, a long four, a double eight), so that the
// same read, or a script's getter, finds it again; other sizes (and a byte other than 0 or 1) are
// kept as they are.
PrefValue valueOfBytes(const void* bytes, size_t size) {
    if (size == 0) return PrefValue(std::string());
    const unsigned char* b = static_cast<const unsigned char*>(bytes);
    if (size == 1 && b[0] <= 1) return PrefValue(b[0] == 1);
    if (size == sizeof(A_long)) {
        A_long l = 0;
        std::memcpy(&l, bytes, sizeof l);
        return PrefValue(static_cast<long>(l));
    }
    if (size == sizeof(double)) {
        double d = 0;
        std::memcpy(&d, bytes, sizeof d);
        return PrefValue(d);
    }
    return PrefValue(std::string(reinterpret_cast<const char*>(b), size));
}

A_Err GetData(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ, A_u_long size,
              const void* defaultP, void* bufP) {
    return hostCall("AEGP_GetData", [&](Host& h) {
        requireBlob(h, blobH);
        requireOut(sectionZ, "section");
        requireOut(keyZ, "key");
        if (size) requireOut(bufP, "buffer");
        args(h, sectionZ, keyZ, size);
        const PrefValue* v = h.prefs().find(sectionZ, keyZ);
        std::string bytes = v ? bytesOf(*v) : std::string();
        if (v && bytes.size() == size) {
            if (size) std::memcpy(bufP, bytes.data(), size);
            return A_Err_NONE;
        }
        // No entry of that size: the default, and no default means zeros.
        if (size) {
            if (defaultP)
                std::memcpy(bufP, defaultP, size);
            else
                std::memset(bufP, 0, size);
        }
        // Reading an absent key writes what was answered into the preferences; an entry of another
        // size stays as it is.
        if (!v) h.prefs().setByRead(sectionZ, keyZ, valueOfBytes(bufP, size));
        return A_Err_NONE;
    });
}

A_Err GetLong(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ,
              A_long defaultL, A_long* valueP) {
    return hostCall("AEGP_GetLong", [&](Host& h) {
        requireBlob(h, blobH);
        requireOut(sectionZ, "section");
        requireOut(keyZ, "key");
        requireOut(valueP, "value");
        args(h, sectionZ, keyZ, defaultL);
        const PrefValue* stored = h.prefs().find(sectionZ, keyZ);
        if (!stored) {
            // Reading an absent key writes the default into the preferences.
            h.prefs().setByRead(sectionZ, keyZ, static_cast<long>(defaultL));
            *valueP = defaultL;
            return A_Err_NONE;
        }
        // A stored whole number beyond 32 bits reads as the nearest 32-bit value, not wrapped.
        long value = h.prefs().getLong(sectionZ, keyZ, defaultL);
        // A number a script saved as floating point: truncated toward zero, or, in the host that
        // does not read it as a long at all, 0.
        if (std::holds_alternative<double>(*stored) &&
            h.model().floatAsLong == HostModel::FloatAsLong::Zero)
            value = 0;
        if (value > 2147483647L) value = 2147483647L;
        if (value < -2147483647L - 1) value = -2147483647L - 1;
        *valueP = static_cast<A_long>(value);
        return A_Err_NONE;
    });
}

A_Err DeleteEntry(AEGP_PersistentBlobH blobH, const A_char* sectionZ, const A_char* keyZ) {
    return hostCall("AEGP_DeleteEntry", [&](Host& h) {
        requireBlob(h, blobH);
        requireOut(sectionZ, "section");
        requireOut(keyZ, "key");
        args(h, sectionZ, keyZ);
        h.prefs().erase(sectionZ, keyZ);  // an absent key is no error
        return A_Err_NONE;
    });
}

// ---- Memory suite ----

MemBlock& blockOf(Host& h, AEGP_MemHandle memH, HandleRecord** recP = nullptr) {
    HandleRecord* r = h.record(memH, HandleKind::MemHandle, "memory");
    if (recP) *recP = r;
    return *HandleRegistry::payload<MemBlock>(r);
}

A_Err NewMemHandle(AEGP_PluginID plugin, const A_char* whatZ, AEGP_MemSize size, AEGP_MemFlag flags,
                   AEGP_MemHandle* memPH) {
    return hostCall("AEGP_NewMemHandle", [&](Host& h) {
        requireOut(memPH, "handle");
        args(h, plugin, whatZ ? whatZ : "", size);
        std::vector<char> bytes(size, 0);
        *memPH = newMemHandle(h, bytes.data(), bytes.size(), whatZ ? whatZ : "memory");
        return A_Err_NONE;
    });
}

A_Err FreeMemHandle(AEGP_MemHandle memH) {
    return hostCall("AEGP_FreeMemHandle", [&](Host& h) {
        HandleRecord* r = nullptr;
        MemBlock& b = blockOf(h, memH, &r);
        if (b.locks > 0) h.log().problem("a locked memory handle was freed");
        h.handles().release(r);
        return A_Err_NONE;
    });
}

A_Err LockMemHandle(AEGP_MemHandle memH, void** ptrP) {
    return hostCall("AEGP_LockMemHandle", [&](Host& h) {
        requireOut(ptrP, "pointer");
        MemBlock& b = blockOf(h, memH);
        ++b.locks;
        *ptrP = b.bytes.data();
        return A_Err_NONE;
    });
}

A_Err UnlockMemHandle(AEGP_MemHandle memH) {
    return hostCall("AEGP_UnlockMemHandle", [&](Host& h) {
        MemBlock& b = blockOf(h, memH);
        if (b.locks == 0)
            throw HostError(A_Err_PARAMETER, "memory handle unlocked more often than locked");
        --b.locks;
        return A_Err_NONE;
    });
}

A_Err GetMemHandleSize(AEGP_MemHandle memH, AEGP_MemSize* sizeP) {
    return hostCall("AEGP_GetMemHandleSize", [&](Host& h) {
        requireOut(sizeP, "size");
        *sizeP = static_cast<AEGP_MemSize>(blockOf(h, memH).bytes.size());
        return A_Err_NONE;
    });
}

}  // namespace

AEGP_MemHandle newMemHandle(Host& h, const void* bytes, size_t size, const std::string& what) {
    auto block = std::make_shared<MemBlock>();
    const char* p = static_cast<const char*>(bytes);
    block->bytes.assign(p, p + size);
    if (block->bytes.empty()) block->bytes.push_back('\0');  // a lock always yields a valid pointer
    return h.handles().make(HandleKind::MemHandle, what, block)->handle<AEGP_MemHandle>();
}

void registerDataSuites(Host& host) {
    static AEGP_PersistentDataSuite3 prefs = [] {
        AEGP_PersistentDataSuite3 s{};
        s.AEGP_GetApplicationBlob = entry<kPersistentDataSuite, GetApplicationBlob>;
        s.AEGP_GetData = entry<kPersistentDataSuite, GetData>;
        s.AEGP_GetLong = entry<kPersistentDataSuite, GetLong>;
        s.AEGP_DeleteEntry = entry<kPersistentDataSuite, DeleteEntry>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    static AEGP_MemorySuite1 memory = [] {
        AEGP_MemorySuite1 s{};
        s.AEGP_NewMemHandle = entry<kMemorySuite, NewMemHandle>;
        s.AEGP_FreeMemHandle = entry<kMemorySuite, FreeMemHandle>;
        s.AEGP_LockMemHandle = entry<kMemorySuite, LockMemHandle>;
        s.AEGP_UnlockMemHandle = entry<kMemorySuite, UnlockMemHandle>;
        s.AEGP_GetMemHandleSize = entry<kMemorySuite, GetMemHandleSize>;
        fillUnimplemented(&s, sizeof s);
        return s;
    }();
    host.addSuite(kAEGPPersistentDataSuite, kAEGPPersistentDataSuiteVersion3, &prefs);
    host.addSuite(kAEGPMemorySuite, kAEGPMemorySuiteVersion1, &memory);
}

}  // namespace sim
