// The error chain used by every function that calls the host: one `err` per function, each step
// runs only while it is 0 (ERR), and steps that must run regardless keep the first error (ERR2).
#pragma once

#ifndef ERR
#define ERR(FUNC)               \
    do {                        \
        if (!err) err = (FUNC); \
    } while (0)
#endif

#ifndef ERR2
#define ERR2(FUNC)                    \
    do {                              \
        A_Err zentrimErr2_ = (FUNC);  \
        if (!err) err = zentrimErr2_; \
    } while (0)
#endif
