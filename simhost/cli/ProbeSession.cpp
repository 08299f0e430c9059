// Choosing the Host Check's command in the simulated host, and reading back what it left.
#include "ProbeSession.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sim {

const char* const kProbeCommandName = "Zentrim Host Check";

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            out.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) out.push_back(line);
    return out;
}

// The file a script wrote last since event `from`, as the script named it ("~/..."), or "".
std::string lastWritten(const Host& host, size_t from) {
    const std::vector<std::string>& events = host.events().fileEvents;
    for (size_t i = events.size(); i > from; --i)
        if (events[i - 1].rfind("write ", 0) == 0) return events[i - 1].substr(6);
    return "";
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

ProbeReport parseProbeReport(const std::string& text) {
    ProbeReport report;
    std::vector<std::string> all = lines(text);
    for (size_t n = 0; n < all.size(); ++n) {
        const std::string& line = all[n];
        if (line.empty() || (n == 0 && line.find(": ") == std::string::npos)) continue;
        const size_t colon = line.find(": ");
        const std::string where = "report line " + std::to_string(n + 1);
        if (colon == std::string::npos || colon == 0)
            throw std::runtime_error(where + " is not \"field: value\": " + line);
        const std::string field = line.substr(0, colon), value = line.substr(colon + 2);
        if (field == "check") {
            report.checks.push_back({value, "", "", "", "", ""});
            continue;
        }
        if (report.checks.empty()) {
            report.header[field] = value;
            continue;
        }
        ProbeCheck& c = report.checks.back();
        std::string* slot = field == "key"        ? &c.key
                            : field == "observed" ? &c.observed
                            : field == "matches"  ? &c.matches
                            : field == "default"  ? &c.simulated
                            : field == "meaning"  ? &c.meaning
                                                  : nullptr;
        if (!slot) throw std::runtime_error(where + ": a check has no field \"" + field + "\"");
        *slot = value;
    }
    for (const ProbeCheck& c : report.checks)
        if (c.matches.empty())
            throw std::runtime_error("the report's check \"" + c.name + "\" has no \"matches\"");
    return report;
}

ProbeOutcome runProbe(Host& host, const std::string& sandbox) {
    ProbeOutcome o;
    const Project before = host.project();
    const std::string prefsBefore = host.prefs().serialize();
    const size_t undoBefore = host.undoSteps().size();
    const size_t alertsBefore = host.events().alerts.size();
    const size_t filesBefore = host.events().fileEvents.size();
    const std::map<std::string, int> acquiredBefore = host.acquired(),
                                     releasedBefore = host.released();
    std::vector<std::string> heldBefore = host.handles().leaks();
    host.log().clear();

    host.updateMenus();  // the user opens the File menu
    AEGP_Command command = 0;
    auto menu = host.menus().entries.find(AEGP_Menu_FILE);
    if (menu != host.menus().entries.end())
        for (const MenuEntry& e : menu->second)
            if (e.name == kProbeCommandName) {
                o.found = true;
                o.enabled = e.enabled;
                command = e.command;
            }
    if (o.found && o.enabled) o.result = host.doCommand(command);

    o.alerts.assign(host.events().alerts.begin() + static_cast<ptrdiff_t>(alertsBefore),
                    host.events().alerts.end());
    for (size_t i = undoBefore; i < host.undoSteps().size(); ++i)
        o.undoSteps.push_back(host.undoSteps()[i].name);
    o.projectDifference = describeDifference(before, host.project());
    o.prefsRestored = host.prefs().serialize() == prefsBefore;
    // What the command left held (the host may hold others from before).
    for (const std::string& held : host.handles().leaks()) {
        auto earlier = std::find(heldBefore.begin(), heldBefore.end(), held);
        if (earlier == heldBefore.end()) {
            o.leaks.push_back(held);
        } else {
            heldBefore.erase(earlier);
        }
    }
    o.problems = host.log().problems();
    // Suites taken during the command and not given back (the host may have served others
    // before).
    for (const auto& [suite, count] : host.acquired()) {
        auto countOf = [&](const std::map<std::string, int>& m, const std::string& key) {
            auto it = m.find(key);
            return it == m.end() ? 0 : it->second;
        };
        const int taken = count - countOf(acquiredBefore, suite);
        const int given = countOf(host.released(), suite) - countOf(releasedBefore, suite);
        if (taken != given)
            o.problems.push_back("suite " + suite + ": acquired " + std::to_string(taken) +
                                 ", released " + std::to_string(given));
    }
    if (host.undoDepth() != 0) o.problems.push_back("an undo group was left open");

    o.reportPath = lastWritten(host, filesBefore);
    if (o.reportPath.rfind("~/", 0) == 0) {
        try {
            o.reportText = readWhole(sandbox + "/" + o.reportPath.substr(2));
            o.report = parseProbeReport(o.reportText);
        } catch (const std::exception& e) {
            o.reportError = e.what();
        }
    } else {
        o.reportError = "the Host Check wrote no report";
    }

    // Undoing what it left must change nothing either; the project is put back as the command
    // left it afterwards.
    const Project after = host.project();
    while (host.undoSteps().size() > undoBefore)
        host.undo();
    o.undoRestored = describeDifference(before, host.project()).empty();
    host.project() = after;
    return o;
}

}  // namespace sim
