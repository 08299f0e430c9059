// What a command holds from the host and owes back (a collection, render options, a frame, a
// stream, an open undo group), given back exactly once.
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

// A stream value the host fills in `value`: disposed when `obtained` says it was filled.
inline auto HoldStreamValue(AEGP_StreamSuite4* streams, AEGP_StreamValue2& value,
                            const bool& obtained) {
    return HostHold([streams, &value, &obtained]() -> A_Err {
        return obtained ? streams->AEGP_DisposeStreamValue(&value) : A_Err_NONE;
    });
}
