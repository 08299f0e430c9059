// What a command holds from the host and owes back (a collection, render options, a frame, a
// stream, a stream value, a mask, a memory handle and its lock, an open undo group), given back
// exactly once.
#pragma once

#include <exception>
#include <utility>

#include "AE_GeneralPlug.h"

// The owner gives the thing back with release() on its normal path, which keeps the first error;
// the destructor gives it back only when an exception (a missing suite, an allocation failure)
// unwinds the owner before it got there. `giveBack` returns the host's A_Err and must cope with
// nothing being held (a null handle); whatever suite it calls is acquired when the hold is made,
// before the handle exists, so that giving back can never throw.
template <typename GiveBack>
class HostHold {
  public:
    explicit HostHold(GiveBack giveBack)
        : giveBack_(std::move(giveBack)), exceptionsAtStart_(std::uncaught_exceptions()) {}
    ~HostHold() {
        if (armed_ && std::uncaught_exceptions() > exceptionsAtStart_) (void)giveBack_();
    }
    HostHold(const HostHold&) = delete;
    HostHold& operator=(const HostHold&) = delete;

    // Gives it back now; an error of the giving back is kept only when *errP is still 0.
    void release(A_Err* errP) {
        if (!armed_) return;
        armed_ = false;
        A_Err err = giveBack_();
        if (!*errP) *errP = err;
    }
    // From here on someone else gives it back (render options handed to the crop, say).
    void handOver() { armed_ = false; }

  private:
    GiveBack giveBack_;
    int exceptionsAtStart_;
    bool armed_ = true;
};

// A hold over a handle variable: gives `handle` back with `dispose(handle)` when it is not null,
// then clears the variable.
template <typename Handle, typename Dispose>
auto HoldHandle(Handle& handle, Dispose dispose) {
    return HostHold([&handle, dispose]() -> A_Err {
        if (!handle) return A_Err_NONE;
        Handle given = handle;
        handle = NULL;
        return dispose(given);
    });
}

// An undo group the command opens: started here (when *errP is still 0; the start's error goes to
// *errP), ended by release() or on unwind, and only when it was started.
inline auto HoldUndoGroup(AEGP_UtilitySuite5* utility, const A_char* name, A_Err* errP) {
    bool open = false;
    if (!*errP) {
        *errP = utility->AEGP_StartUndoGroup(name);
        open = !*errP;
    }
    return HostHold([utility, open]() mutable -> A_Err {
        if (!open) return A_Err_NONE;
        open = false;
        return utility->AEGP_EndUndoGroup();
    });
}

// The named holds of what the host hands out, each given back with its own suite's call.
inline auto HoldCollection(AEGP_CollectionSuite2* collections, AEGP_Collection2H& collection) {
    return HoldHandle(collection, [collections](AEGP_Collection2H h) {
        return collections->AEGP_DisposeCollection(h);
    });
}
inline auto HoldRenderOptions(AEGP_RenderOptionsSuite3* options, AEGP_RenderOptionsH& optionsH) {
    return HoldHandle(optionsH,
                      [options](AEGP_RenderOptionsH h) { return options->AEGP_Dispose(h); });
}
inline auto HoldStream(AEGP_StreamSuite4* streams, AEGP_StreamRefH& streamH) {
    return HoldHandle(streamH,
                      [streams](AEGP_StreamRefH h) { return streams->AEGP_DisposeStream(h); });
}
inline auto HoldMask(AEGP_MaskSuite5* masks, AEGP_MaskRefH& maskH) {
    return HoldHandle(maskH, [masks](AEGP_MaskRefH h) { return masks->AEGP_DisposeMask(h); });
}
inline auto HoldMemHandle(AEGP_MemorySuite1* memory, AEGP_MemHandle& memH) {
    return HoldHandle(memH, [memory](AEGP_MemHandle h) { return memory->AEGP_FreeMemHandle(h); });
}
// A memory handle's lock: unlocked when `pointer` says the lock was taken (the pointer is cleared).
inline auto HoldMemLock(AEGP_MemorySuite1* memory, AEGP_MemHandle& memH, void*& pointer) {
    return HostHold([memory, &memH, &pointer]() -> A_Err {
        if (!pointer) return A_Err_NONE;
        pointer = NULL;
        return memory->AEGP_UnlockMemHandle(memH);
    });
}
inline auto HoldFrame(AEGP_RenderSuite3* render, AEGP_FrameReceiptH& receiptH) {
    return HoldHandle(receiptH,
                      [render](AEGP_FrameReceiptH h) { return render->AEGP_CheckinFrame(h); });
}

// A stream value the host fills in `value`: disposed when `obtained` says it was filled.
inline auto HoldStreamValue(AEGP_StreamSuite4* streams, AEGP_StreamValue2& value,
                            const bool& obtained) {
    return HostHold([streams, &value, &obtained]() -> A_Err {
        return obtained ? streams->AEGP_DisposeStreamValue(&value) : A_Err_NONE;
    });
}
