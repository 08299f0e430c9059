// The script engine as its callers drive it beyond single scripts: docked panels, the windows
// that stay open after their script, and the simulated user's work in them.
#include <nlohmann/json.hpp>
#include <sstream>

#include "Engine.h"

namespace sim {

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        out.push_back(line);
    return out;
}

// The first line of an outcome of actInOpen ("open", "closed" or "problem") and the rest.
std::pair<std::string, std::string> split(const std::string& text) {
    size_t cut = text.find('\n');
    if (cut == std::string::npos) return {text, ""};
    return {text.substr(0, cut), text.substr(cut + 1)};
}

ScriptOutcome failure(const std::string& message) {
    ScriptOutcome out;
    out.ok = false;
    out.error = message;
    return out;
}

}  // namespace

ScriptSession::ScriptSession(std::shared_ptr<script::Engine> engine) : engine_(std::move(engine)) {}

std::string ScriptSession::sandbox() const {
    return engine_->files.root().string();
}

SimulatedUser& ScriptSession::user() {
    return *engine_->user;
}

ScriptOutcome ScriptSession::runDocked(const std::string& script, const std::string& title) {
    return engine_->runWithThis(script, "dockPanel", title);
}

std::vector<std::string> ScriptSession::openWindows() {
    ScriptOutcome titles = engine_->callPrelude("openTitles", {});
    return titles.ok ? lines(titles.value) : std::vector<std::string>{};
}

std::vector<std::string> ScriptSession::describeOpen(const std::string& title) {
    ScriptOutcome shown = engine_->callPrelude("describeOpen", {title});
    std::vector<std::string> out;
    // The terminal's listing indents the window's own controls by one step: they are the top here.
    for (const std::string& line : lines(shown.ok ? shown.value : ""))
        out.push_back(line.rfind("  ", 0) == 0 ? line.substr(2) : line);
    return out;
}

ScriptOutcome ScriptSession::workIn(const std::string& title,
                                    const std::function<void()>& afterEach) {
    script::Engine& e = *engine_;
    ScriptOutcome kind = e.callPrelude("kindOfOpen", {title});
    if (!kind.ok) return kind;
    if (kind.value.empty()) return failure("no window \"" + title + "\" is open");
    const std::string noun = kind.value;
    auto unanswered = [&](const std::string& message) {
        e.user->unanswered.push_back(message);
        return failure(message);
    };

    for (DialogAnswer& answer : e.user->answers.dialogs) {
        if (answer.used || answer.title != title) continue;
        answer.used = true;
        for (const DialogAction& action : answer.actions) {
            ScriptOutcome step = e.callPrelude("actInOpen", {title, script::actionJson(action)});
            if (!step.ok) return step;
            auto [state, said] = split(step.value);
            if (state == "problem") return unanswered(said);
            ++answer.applied;
            afterEach();
            if (state == "closed") break;
        }
        return ScriptOutcome{};
    }

    if (!e.asksTerminal()) return unanswered("no answer for the " + noun + " \"" + title + "\"");
    ScriptOutcome shown = e.callPrelude("describeOpen", {title});
    e.terminalOut() << "The " << noun << " \"" << title << "\" is open:\n"
                    << shown.value
                    << "Type one action a line (help lists them); done leaves it open and ends.\n";
    while (true) {
        std::string line = script::readTerminalAction(e, title, {"done"});
        std::string word = line.empty() ? "done" : nlohmann::json::parse(line).value("kind", "");
        if (word == "done") break;
        ScriptOutcome step = e.callPrelude("actInOpen", {title, line});
        if (!step.ok) return step;
        auto [state, said] = split(step.value);
        e.terminalOut() << said << (said.empty() || said.back() == '\n' ? "" : "\n");
        if (state == "problem" || word == "list") continue;
        afterEach();
        if (state == "closed") break;
    }
    return ScriptOutcome{};
}

}  // namespace sim
