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

HandleRecord* HandleRegistry::object(HandleKind kind, Id id) {
    auto key = std::make_pair(kind, id);
    auto it = objects_.find(key);
    if (it != objects_.end()) return it->second;
    HandleRecord& r = records_.emplace_back();
    r.tag = kLive;
    r.kind = kind;
    r.id = id;
    r.serial = nextSerial_++;
    all_.insert(&r);
    objects_[key] = &r;
    return &r;
}

HandleRecord* HandleRegistry::make(HandleKind kind, std::string what, std::shared_ptr<void> data,
                                   Id id, int which) {
    HandleRecord& r = records_.emplace_back();
    r.tag = kLive;
    r.kind = kind;
    r.releasable = true;
    r.serial = nextSerial_++;
    r.what = std::move(what);
    r.id = id;
    r.which = which;
    r.data = std::move(data);
    all_.insert(&r);
    return &r;
}

HandleRecord* HandleRegistry::find(const void* handle, HandleKind kind) const {
    if (!handle || !all_.count(handle)) return nullptr;
    auto* r = static_cast<HandleRecord*>(const_cast<void*>(handle));
    if (r->tag != kLive || r->kind != kind) return nullptr;
    return r;
}

void HandleRegistry::release(HandleRecord* record) {
    if (!record) return;
    record->tag = kDead;
    record->data.reset();
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
