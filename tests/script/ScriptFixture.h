// A host with the script engine installed, for the script engine's tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ScriptEngine.h"

namespace sim::testing {

class ScriptTest : public ::testing::Test {
  protected:
    // Installs the engine with these answers (tests that need none get the default).
    void install(UserAnswers answers = {}, ScriptOptions options = {}) {
        sandbox = installScriptEngine(host, std::move(answers), std::move(options));
    }
    void installAnswers(const std::string& json) {
        install(parseUserAnswers(json, "answers.json"));
    }

    void SetUp() override { install(); }

    // Runs a script that must succeed, giving its value.
    std::string ok(const std::string& script) {
        ScriptOutcome out = host.platform().scriptRunner(script);
        EXPECT_TRUE(out.ok) << out.error;
        return out.value;
    }
    // Runs a script that must fail, giving its error.
    std::string fails(const std::string& script) {
        ScriptOutcome out = host.platform().scriptRunner(script);
        EXPECT_FALSE(out.ok) << "value: " << out.value;
        return out.error;
    }

    Host host;
    std::string sandbox;
};

}  // namespace sim::testing
