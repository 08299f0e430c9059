// The scratch items of the checks and their values, through the host's suites only.
#include "Scratch.h"

#include <algorithm>

#include "AEGP_SuiteHandler.h"
#include "HostHold.h"

namespace hostcheck {

namespace {

const A_Time kTimeZero = {0, 1};

// Gives back what `hold` holds; an error of that is noted under `what`.
template <typename Hold>
void giveBack(Steps& s, Hold& hold, const char* what) {
    A_Err err = A_Err_NONE;
    hold.release(&err);
    s.note(what, err);
}

// Reads a layer stream's value at time 0 into `apply`, then, when `write` is set, writes the
// value `apply` left back to the stream.
template <typename Apply>
void withLayerValue(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which, bool write,
                    Apply apply) {
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_StreamRefH stream = NULL;
    AEGP_StreamValue2 value = {};
    bool obtained = false;
    auto streamHold =
        HoldHandle(stream, [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
    auto valueHold = HoldStreamValue(streams, value, obtained);
    STEP(s, streams, AEGP_GetNewLayerStream, p.id, layer, which, &stream);
    STEP(s, streams, AEGP_GetNewStreamValue, p.id, stream, AEGP_LTimeMode_LayerTime, &kTimeZero,
         false, &value);
    obtained = s.ok();
    if (s.ok()) apply(value.val);
    if (write) STEP(s, streams, AEGP_SetStreamValue, p.id, stream, &value);
    giveBack(s, valueHold, "AEGP_DisposeStreamValue");
    giveBack(s, streamHold, "AEGP_DisposeStream");
}

// The host's name of an item as ASCII (other characters as '?'), for the report only: a host call
// that fails here leaves the name "?" or cut short, and nothing else.
std::string itemName(const Probe& p, AEGP_ItemH item) {
    AEGP_SuiteHandler suites(p.basic);
    AEGP_MemorySuite1* memory = suites.MemorySuite1();
    AEGP_MemHandle name = NULL;
    std::string out;
    if (suites.ItemSuite8()->AEGP_GetItemName(p.id, item, &name) || !name) return "?";
    void* text = NULL;
    if (!memory->AEGP_LockMemHandle(name, &text) && text) {
        for (const A_UTF16Char* c = static_cast<const A_UTF16Char*>(text); *c && out.size() < 200;
             ++c)
            out += *c >= 0x20 && *c < 0x7F ? static_cast<char>(*c) : '?';
        (void)memory->AEGP_UnlockMemHandle(name);
    }
    (void)memory->AEGP_FreeMemHandle(name);
    return out;
}

struct Walked {
    AEGP_ItemH item;
    A_long id;
};

// Every item of the project with its id, in the host's order.
std::vector<Walked> walk(const Probe& p, Steps& s) {
    std::vector<Walked> out;
    if (!s.ok()) return out;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_ItemSuite8* items = suites.ItemSuite8();
    AEGP_ProjectH project = NULL;
    AEGP_ItemH item = NULL;
    STEP(s, suites.ProjSuite6(), AEGP_GetProjectByIndex, 0, &project);
    STEP(s, items, AEGP_GetFirstProjItem, project, &item);
    while (s.ok() && item) {
        A_long id = 0;
        STEP(s, items, AEGP_GetItemID, item, &id);
        if (s.ok()) out.push_back({item, id});
        AEGP_ItemH next = NULL;
        STEP(s, items, AEGP_GetNextProjItem, project, item, &next);
        item = next;
    }
    return out;
}

bool isNew(const std::vector<A_long>& before, A_long id) {
    return std::find(before.begin(), before.end(), id) == before.end();
}

}  // namespace

std::vector<A_UTF16Char> hostName(const char* ascii) {
    std::vector<A_UTF16Char> out;
    for (const char* c = ascii; *c; ++c)
        out.push_back(static_cast<A_UTF16Char>(static_cast<unsigned char>(*c)));
    out.push_back(0);
    return out;
}

AEGP_ItemH makeFolder(const Probe& p, Steps& s, const char* name) {
    AEGP_ItemH folder = NULL;
    if (!s.ok()) return folder;
    AEGP_SuiteHandler suites(p.basic);
    std::vector<A_UTF16Char> wide = hostName(name);
    STEP(s, suites.ItemSuite8(), AEGP_CreateNewFolder, wide.data(), NULL, &folder);
    return s.ok() ? folder : NULL;
}

AEGP_CompH makeComp(const Probe& p, Steps& s, const char* name, A_long width, A_long height) {
    AEGP_CompH comp = NULL;
    if (!s.ok()) return comp;
    AEGP_SuiteHandler suites(p.basic);
    std::vector<A_UTF16Char> wide = hostName(name);
    const A_Ratio square = {1, 1}, framesPerSecond = {30, 1};
    const A_Time fourSeconds = {120, 30};
    STEP(s, suites.CompSuite7(), AEGP_CreateComp, p.folder, wide.data(), width, height, &square,
         &fourSeconds, &framesPerSecond, &comp);
    return s.ok() ? comp : NULL;
}

AEGP_LayerH addUse(const Probe& p, Steps& s, AEGP_CompH source, AEGP_CompH comp) {
    AEGP_LayerH layer = NULL;
    if (!s.ok()) return layer;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_ItemH item = NULL;
    STEP(s, suites.CompSuite7(), AEGP_GetItemFromComp, source, &item);
    STEP(s, suites.LayerSuite7(), AEGP_AddLayer, item, comp, &layer);
    return s.ok() ? layer : NULL;
}

AEGP_LayerH makeNull(const Probe& p, Steps& s, AEGP_CompH comp, const char* name) {
    AEGP_LayerH layer = NULL;
    if (!s.ok()) return layer;
    AEGP_SuiteHandler suites(p.basic);
    std::vector<A_UTF16Char> wide = hostName(name);
    STEP(s, suites.CompSuite7(), AEGP_CreateNullInComp, wide.data(), comp, NULL, &layer);
    return s.ok() ? layer : NULL;
}

void setParent(const Probe& p, Steps& s, AEGP_LayerH child, AEGP_LayerH parent) {
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    STEP(s, suites.LayerSuite7(), AEGP_SetLayerParent, child, parent);
}

void resizeComp(const Probe& p, Steps& s, AEGP_CompH comp, A_long width, A_long height) {
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    STEP(s, suites.CompSuite7(), AEGP_SetCompDimensions, comp, width, height);
}

AEGP_ThreeDVal readPoint(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which) {
    AEGP_ThreeDVal out = {0, 0, 0};
    withLayerValue(p, s, layer, which, false, [&](AEGP_StreamVal2& v) { out = v.three_d; });
    return out;
}

void writePoint(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which,
                const AEGP_ThreeDVal& value) {
    withLayerValue(p, s, layer, which, true, [&](AEGP_StreamVal2& v) { v.three_d = value; });
}

void writeNumber(const Probe& p, Steps& s, AEGP_LayerH layer, AEGP_LayerStream which,
                 double value) {
    withLayerValue(p, s, layer, which, true, [&](AEGP_StreamVal2& v) { v.one_d = value; });
}

void addMask(const Probe& p, Steps& s, AEGP_LayerH layer, const std::vector<AEGP_MaskVertex>& v) {
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_MaskSuite5* masks = suites.MaskSuite5();
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_MaskOutlineSuite2* outlines = suites.MaskOutlineSuite2();
    AEGP_MaskRefH mask = NULL;
    AEGP_StreamRefH stream = NULL;
    AEGP_StreamValue2 value = {};
    bool obtained = false;
    auto maskHold =
        HoldHandle(mask, [masks](AEGP_MaskRefH h) { return masks->AEGP_DisposeMask(h); });
    auto streamHold =
        HoldHandle(stream, [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
    auto valueHold = HoldStreamValue(streams, value, obtained);
    A_long index = 0, segments = 0;
    STEP(s, masks, AEGP_CreateNewMask, layer, &mask, &index);
    STEP(s, streams, AEGP_GetNewMaskStream, p.id, mask, AEGP_MaskStream_OUTLINE, &stream);
    STEP(s, streams, AEGP_GetNewStreamValue, p.id, stream, AEGP_LTimeMode_LayerTime, &kTimeZero,
         false, &value);
    obtained = s.ok();
    STEP(s, outlines, AEGP_GetMaskOutlineNumSegments, value.val.mask, &segments);
    if (s.ok() && segments != 0)
        s.fail("AEGP_CreateNewMask made a mask of " + std::to_string(segments) +
               " segments, not an empty one");
    for (size_t i = 0; i < v.size(); ++i) {
        const AEGP_VertexIndex at = static_cast<AEGP_VertexIndex>(i);
        STEP(s, outlines, AEGP_CreateVertex, value.val.mask, at);
        STEP(s, outlines, AEGP_SetMaskOutlineVertexInfo, value.val.mask, at, &v[i]);
    }
    STEP(s, outlines, AEGP_SetMaskOutlineOpen, value.val.mask, false);
    STEP(s, streams, AEGP_SetStreamValue, p.id, stream, &value);
    giveBack(s, valueHold, "AEGP_DisposeStreamValue");
    giveBack(s, streamHold, "AEGP_DisposeStream");
    giveBack(s, maskHold, "AEGP_DisposeMask");
}

void withMaskOutline(const Probe& p, Steps& s, AEGP_LayerH layer, A_long mask,
                     const std::function<void(AEGP_MaskOutlineValH)>& use) {
    if (!s.ok()) return;
    AEGP_SuiteHandler suites(p.basic);
    AEGP_MaskSuite5* masks = suites.MaskSuite5();
    AEGP_StreamSuite4* streams = suites.StreamSuite4();
    AEGP_MaskRefH ref = NULL;
    AEGP_StreamRefH stream = NULL;
    AEGP_StreamValue2 value = {};
    bool obtained = false;
    auto maskHold =
        HoldHandle(ref, [masks](AEGP_MaskRefH h) { return masks->AEGP_DisposeMask(h); });
    auto streamHold =
        HoldHandle(stream, [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
    auto valueHold = HoldStreamValue(streams, value, obtained);
    STEP(s, masks, AEGP_GetLayerMaskByIndex, layer, mask, &ref);
    STEP(s, streams, AEGP_GetNewMaskStream, p.id, ref, AEGP_MaskStream_OUTLINE, &stream);
    STEP(s, streams, AEGP_GetNewStreamValue, p.id, stream, AEGP_LTimeMode_LayerTime, &kTimeZero,
         false, &value);
    obtained = s.ok();
    if (s.ok()) use(value.val.mask);
    giveBack(s, valueHold, "AEGP_DisposeStreamValue");
    giveBack(s, streamHold, "AEGP_DisposeStream");
    giveBack(s, maskHold, "AEGP_DisposeMask");
}

AEGP_MaskVertex readMaskVertex(const Probe& p, Steps& s, AEGP_LayerH layer, A_long mask,
                               AEGP_VertexIndex index) {
    AEGP_MaskVertex out = {0, 0, 0, 0, 0, 0};
    withMaskOutline(p, s, layer, mask, [&](AEGP_MaskOutlineValH outline) {
        AEGP_SuiteHandler suites(p.basic);
        STEP(s, suites.MaskOutlineSuite2(), AEGP_GetMaskOutlineVertexInfo, outline, index, &out);
    });
    return out;
}

std::vector<A_long> projectItems(const Probe& p, Steps& s) {
    std::vector<A_long> ids;
    for (const Walked& w : walk(p, s))
        ids.push_back(w.id);
    return ids;
}

std::vector<std::string> removeItemsSince(const Probe& p, Steps& s,
                                          const std::vector<A_long>& before) {
    AEGP_SuiteHandler suites(p.basic);
    // The last first: the host walks a folder's contents after the folder, so nothing is deleted
    // after the folder that held it went.
    std::vector<Walked> items = walk(p, s);
    for (auto it = items.rbegin(); it != items.rend() && s.ok(); ++it)
        if (isNew(before, it->id)) STEP(s, suites.ItemSuite8(), AEGP_DeleteItem, it->item);
    // What is left, looked at even when a deletion failed.
    Steps listing;
    std::vector<std::string> left;
    for (const Walked& w : walk(p, listing))
        if (isNew(before, w.id)) left.push_back(itemName(p, w.item));
    if (!listing.ok()) s.fail("the project could not be read again: " + listing.failed);
    return left;
}

}  // namespace hostcheck
