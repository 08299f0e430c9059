// A minimal stand-in host for unit tests of host-calling helpers: worlds, application
// preferences, script results and memory handles, with a per-call failure switch.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "AE_GeneralPlug.h"
#include "SPBasic.h"

struct FakeHost {
    // The world handed to the scan.
    AEGP_WorldType worldType = AEGP_WorldType_8;
    A_long width = 0, height = 0;
    A_u_long rowBytes = 0;
    std::vector<unsigned char> pixels;

    // Section "Zentrim" of the application preferences: one-byte flags and longs.
    std::map<std::string, unsigned char> flags;
    std::map<std::string, A_long> longs;

    // Scripts: the result text handed back (with its terminator) or an error.
    std::string scriptResult;
    A_Err scriptError = A_Err_NONE;
    std::vector<std::string> scripts;

    // The call named here fails with `failWith`.
    std::string failCall;
    A_Err failWith = A_Err_GENERIC;

    std::vector<std::string> calls;
    std::map<std::string, int> acquired, released;
    std::string missingSuite;  // AcquireSuite refuses this name
    int liveMemHandles = 0;

    FakeHost();
    ~FakeHost();
    SPBasicSuite* basic() { return &basic_; }

    // Makes the world a frame of the given depth and size with `padding` extra bytes a row.
    void makeWorld(AEGP_WorldType type, A_long w, A_long h, A_u_long padding);
    void setAlpha(A_long x, A_long y, double alpha);

    A_Err call(const char* name);  // records a call and answers the failure switch

  private:
    SPBasicSuite basic_{};
};
