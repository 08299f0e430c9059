// zentrim-host's --json output of a run, read in a test.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "HostProcess.h"

namespace simtest {

// The JSON object the run printed on stdout; an empty object, and a test failure that shows what
// was printed, when it is not JSON.
inline nlohmann::json parsedJson(const Outcome& o) {
    try {
        return nlohmann::json::parse(o.out);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not JSON: " << e.what() << "\n" << o.out << o.err;
        return nlohmann::json::object();
    }
}

}  // namespace simtest
