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

struct Command {
    std::unique_ptr<sim::Session> session;
    sim::Host& host() { return session->host; }

    explicit Command(const std::string& projectJson,
                     const std::string& answersJson = R"({"dialogs": []})") {
        sim::Project project = sim::parseProject(projectJson, "test.json",
                                                 std::string(ZENTRIM_SOURCE_DIR) + "/examples");
        session = std::make_unique<sim::Session>(project, "", true, sim::SessionObserver(),
                                                 hostModelOfTheRun());
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

    sim::Item& item(const std::string& name) {
        sim::Item* it = host().project().findItemByName(name);
        if (!it) throw std::runtime_error("no item " + name);
        return *it;
    }
    sim::Layer& layer(const std::string& comp, const std::string& name) {
        for (sim::Layer& l : item(comp).comp.layers)
            if (l.name == name) return l;
        throw std::runtime_error("no layer " + name);
    }
    sim::World render(const std::string& comp, sim::Rational t = sim::Rational(0)) {
        return sim::renderComp(host().project(), item(comp).id, t, 1, 1);
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
