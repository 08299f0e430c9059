// The plug-in's one way back into the host: the entry point and every hook run their work through
// AtHostBoundary, so that no C++ exception crosses the C boundary into the host.
#pragma once

#include <new>

#include "AE_GeneralPlug.h"

// Runs `body` (which returns an A_Err) and turns whatever it throws into the A_Err the host gets:
// the suite handler's missing-suite code as it is, an allocation failure as the host's
// out-of-memory error, anything else as a generic error.
template <typename Body>
A_Err AtHostBoundary(Body&& body) noexcept {
    try {
        return body();
    } catch (A_Err thrown) {
        return thrown;
    } catch (const std::bad_alloc&) {
        return A_Err_ALLOC;
    } catch (...) {
        return A_Err_GENERIC;
    }
}
