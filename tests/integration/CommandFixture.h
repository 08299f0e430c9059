// Test support: a session with the loaded plug-in, its script engine and the simulated user, and
// small builders of project text.
#pragma once

#include <memory>
#include <string>

#include "ProjectFile.h"
#include "ScriptEngine.h"
#include "Session.h"
#include "SimFixture.h"

namespace simtest {

struct Command : ProjectFixture {
    std::unique_ptr<sim::Session> session;
    sim::Host& host() { return session->host; }
    sim::Project& project() override { return host().project(); }

    explicit Command(const std::string& projectJson,
                     const std::string& answersJson = R"({"dialogs": []})") {
        session = std::make_unique<sim::Session>(parseTestProject(projectJson), "", true,
                                                 sim::SessionObserver(), hostModelOfTheRun());
        sim::installScriptEngine(session->host, sim::parseUserAnswers(answersJson, "answers.json"));
        EXPECT_EQ(session->startResult, A_Err_NONE);
    }

    // Changes the project before the command runs (the undo check compares with this state).
    template <typename Edit>
    void edit(Edit change) {
        change(host().project());
        session->before = host().project();
    }

    sim::SessionReport run(const std::string& keys = "none", bool undo = true) {
        sim::SessionOptions o;
        o.shift = keys.find("shift") != std::string::npos;
        o.command = keys.find("cmd") != std::string::npos;
        o.undo = undo;
        return session->play(o);
    }
    sim::SessionReport panel(int request, bool undo = true) {
        sim::SessionOptions o;
        o.panel = request;
        o.undo = undo;
        return session->play(o);
    }
    // The menu command as the user sees it with these keys held.
    sim::MenuEntry menu(const std::string& keys) {
        session->openMenu(keys.find("shift") != std::string::npos,
                          keys.find("cmd") != std::string::npos);
        const sim::MenuEntry* e = session->command();
        return e ? *e : sim::MenuEntry{};
    }

    sim::World renderBefore(const std::string& comp, sim::Rational t = sim::Rational(0)) {
        const sim::Item* it = session->before.findItemByName(comp);
        return sim::renderComp(session->before, it->id, t, 1, 1);
    }
};

// Every report of a command run: nothing leaked, no protocol problem, undo restored the project.
inline void expectClean(const sim::SessionReport& r) {
    EXPECT_TRUE(r.leaks.empty()) << (r.leaks.empty() ? "" : r.leaks.front());
    EXPECT_TRUE(r.problems.empty()) << (r.problems.empty() ? "" : r.problems.front());
    if (r.undoRestored) {
        EXPECT_TRUE(*r.undoRestored) << "undo left: " << r.undoDifference;
    }
}

}  // namespace simtest
