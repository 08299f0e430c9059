// zentrim-host panel: the companion panel shown to the simulated user, who clicks its buttons and
// controls while the host idles between their actions, so the plug-in picks up each request.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Commands.h"

namespace sim {

namespace {

std::string readScript(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        throw BadInput("--script: " + path + ": expected the panel script, but it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BadInput("--script: " + path + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Shows the panel, lets the user work in it, and notes how it was left.
A_Err showPanel(Session& s, SessionReport& r, const std::string& path, const std::string& script,
                bool floating) {
    ScriptSession& scripting = *s.scripting;
    // The host titles a docked panel after its file: "Zentrim Panel.jsx" is "Zentrim Panel".
    std::string title = std::filesystem::path(path).stem().string();
    std::vector<std::string> before = scripting.openWindows();
    ScriptOutcome shown =
        floating ? s.host.platform().scriptRunner(script) : scripting.runDocked(script, title);
    if (!shown.ok) throw std::runtime_error(path + ": the panel script failed: " + shown.error);
    if (floating) {
        std::vector<std::string> now = scripting.openWindows();
        if (now.size() <= before.size())
            throw std::runtime_error(path + ": the panel script opened no window");
        title = now[before.size()];
    }
    r.panelTitle = title;
    A_Err first = A_Err_NONE;
    ScriptOutcome worked = scripting.workIn(title, [&] {
        A_Err err = s.host.idle();
        if (!first) first = err;
    });
    // A failure the user's answers caused is reported as unanswered; any other is the script's.
    const std::vector<std::string>& unanswered = scripting.user().unanswered;
    bool byAnswer = !unanswered.empty() && unanswered.back() == worked.error;
    if (!worked.ok && !byAnswer)
        throw std::runtime_error(path + ": the panel script failed: " + worked.error);
    r.panelControls = scripting.describeOpen(title);
    return first;
}

}  // namespace

int panelCommand(const CliOptions& o, std::ostream& out) {
    std::string path = o.script.empty() ? std::string(ZENTRIM_PANEL_SCRIPT) : o.script;
    std::string script = readScript(path);
    return playSession(o, out, [&](Session& s, SessionReport& r) {
        return showPanel(s, r, path, script, o.floating);
    });
}

}  // namespace sim
