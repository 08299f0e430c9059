// Every host handle the plug-in receives: tagged records so that a stale, released or wrong-kind
// handle is answered with an error instead of a crash, and a list of what was never released.
// A handle's value names a record slot and the slot's generation; a released slot is used again
// under the next generation, so the registry's size follows the handles alive, not those made.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <unordered_map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Model.h"

namespace sim {

enum class HandleKind : uint32_t {
    Project = 1,
    Item,
    Comp,
    Layer,
    Mask,
    Stream,
    MaskOutline,
    Collection,
    RenderOptions,
    FrameReceipt,
    World,
    MemHandle,
    Blob,
};
const char* kindName(HandleKind kind);

// What a handle stands for. Objects of the project (items, comps, layers) are named by id, so a
// handle survives edits and undo; owned payloads (collections, render options, frames, memory)
// live in `data`.
struct HandleRecord {
    uint32_t tag = 0;  // kLive while valid
    HandleKind kind = HandleKind::Item;
    bool releasable = false;
    uint64_t serial = 0;
    std::string what;  // for leak reports
    Id id = 0;         // item, comp's item, layer or mask id
    int which = 0;     // stream: the layer or mask stream it reads
    std::shared_ptr<void> data;
    uint32_t slot = 0;        // position in the registry
    uint32_t generation = 0;  // uses of the slot before this one

    // The value the plug-in holds: slot + 1 in the low half, the generation in the high half.
    void* value() const;
    template <typename H>
    H handle() const {
        return reinterpret_cast<H>(value());
    }
};

class HandleRegistry {
  public:
    static constexpr uint32_t kLive = 0x5A454E54;  // "ZENT"
    static constexpr uint32_t kDead = 0xDEADDEAD;

    // The one handle of a project object (same value every time it is asked for).
    HandleRecord* object(HandleKind kind, Id id);
    // A new handle the plug-in must give back; counted as a leak until released.
    HandleRecord* make(HandleKind kind, std::string what, std::shared_ptr<void> data = nullptr,
                       Id id = 0, int which = 0);

    // The record behind a handle value, or null when it is not a live handle of that kind.
    // Safe for any pointer value: only addresses the registry made are looked at.
    HandleRecord* find(const void* handle, HandleKind kind) const;
    // Whether a value is one of ours at all (live or released).
    bool known(const void* handle) const;

    void release(HandleRecord* record);
    // Handles made and not released, oldest first ("render options", "stream of layer 'x'").
    std::vector<std::string> leaks() const;
    // Forgets the leak list without invalidating object handles (between commands in tests).
    void releaseAll();

    template <typename T>
    static T* payload(HandleRecord* record) {
        return static_cast<T*>(record->data.get());
    }

    size_t slots() const { return records_.size(); }  // live and reusable records

  private:
    std::deque<HandleRecord> records_;  // stable addresses; released ones wait in free_
    std::vector<uint32_t> free_;
    struct ObjectKeyHash {
        size_t operator()(const std::pair<HandleKind, Id>& k) const {
            return std::hash<uint64_t>()((static_cast<uint64_t>(k.second) << 4) ^
                                         static_cast<uint64_t>(k.first));
        }
    };
    std::unordered_map<std::pair<HandleKind, Id>, HandleRecord*, ObjectKeyHash> objects_;
    uint64_t nextSerial_ = 1;

    HandleRecord& newRecord();
};

}  // namespace sim
