// Tagged handle records and the leak list.
#include "Handles.h"

namespace sim {

const char* kindName(HandleKind kind) {
    switch (kind) {
        case HandleKind::Project:
            return "project";
        case HandleKind::Item:
            return "item";
        case HandleKind::Comp:
            return "composition";
        case HandleKind::Layer:
            return "layer";
        case HandleKind::Mask:
            return "mask";
        case HandleKind::Stream:
            return "stream";
        case HandleKind::MaskOutline:
            return "mask outline";
        case HandleKind::Collection:
            return "collection";
        case HandleKind::RenderOptions:
            return "render options";
        case HandleKind::FrameReceipt:
            return "frame receipt";
        case HandleKind::World:
            return "world";
        case HandleKind::MemHandle:
            return "memory handle";
        case HandleKind::Blob:
            return "preferences blob";
    }
    return "handle";
}

static_assert(sizeof(uintptr_t) >= 8, "a handle value packs a 32-bit slot and generation");

void* HandleRecord::value() const {
    return reinterpret_cast<void*>((static_cast<uintptr_t>(generation) << 32) |
                                   (static_cast<uintptr_t>(slot) + 1));
}

namespace {

// The slot a value names, or -1 for a value that names none.
int64_t slotOf(const void* handle, size_t slots) {
    const uintptr_t v = reinterpret_cast<uintptr_t>(handle);
    const uintptr_t low = v & 0xFFFFFFFFu;
    if (low == 0 || low > slots) return -1;
    return static_cast<int64_t>(low - 1);
}

}  // namespace

HandleRecord& HandleRegistry::newRecord() {
    HandleRecord* r = nullptr;
    if (!free_.empty()) {
        r = &records_[free_.back()];
        free_.pop_back();
        const uint32_t slot = r->slot, generation = r->generation;
        *r = HandleRecord();
        r->slot = slot;
        r->generation = generation;
    } else {
        r = &records_.emplace_back();
        r->slot = static_cast<uint32_t>(records_.size() - 1);
    }
    r->tag = kLive;
    r->serial = nextSerial_++;
    return *r;
}

HandleRecord* HandleRegistry::object(HandleKind kind, Id id) {
    auto key = std::make_pair(kind, id);
    auto it = objects_.find(key);
    if (it != objects_.end()) return it->second;
    HandleRecord& r = newRecord();
    r.kind = kind;
    r.id = id;
    objects_[key] = &r;
    return &r;
}

HandleRecord* HandleRegistry::make(HandleKind kind, std::string what, std::shared_ptr<void> data,
                                   Id id, int which) {
    HandleRecord& r = newRecord();
    r.kind = kind;
    r.releasable = true;
    r.what = std::move(what);
    r.id = id;
    r.which = which;
    r.data = std::move(data);
    return &r;
}

HandleRecord* HandleRegistry::find(const void* handle, HandleKind kind) const {
    const int64_t slot = slotOf(handle, records_.size());
    if (slot < 0) return nullptr;
    HandleRecord& r = const_cast<HandleRecord&>(records_[static_cast<size_t>(slot)]);
    if (r.tag != kLive || r.kind != kind || r.value() != handle) return nullptr;
    return &r;
}

bool HandleRegistry::known(const void* handle) const {
    return slotOf(handle, records_.size()) >= 0;
}

void HandleRegistry::release(HandleRecord* record) {
    if (!record || record->tag != kLive) return;
    record->tag = kDead;
    record->data.reset();
    // A project object's one handle stays dead; any other slot serves new handles, under a new
    // generation so that stale copies of the old value no longer match.
    auto object = objects_.find({record->kind, record->id});
    if (object != objects_.end() && object->second == record) return;
    record->what.clear();
    ++record->generation;
    free_.push_back(record->slot);
}

std::vector<std::string> HandleRegistry::leaks() const {
    std::vector<std::string> out;
    for (const HandleRecord& r : records_)
        if (r.releasable && r.tag == kLive)
            out.push_back(std::string(kindName(r.kind)) + ": " + r.what);
    return out;
}

void HandleRegistry::releaseAll() {
    for (HandleRecord& r : records_)
        if (r.releasable && r.tag == kLive) release(&r);
}

}  // namespace sim
