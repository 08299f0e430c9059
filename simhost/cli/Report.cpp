// Writing a session's report as JSON or as text.
#include "Report.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace sim {

std::string reportJson(const SessionReport& r) {
    nlohmann::ordered_json j;
    j["menuName"] = r.menuName;
    j["enabled"] = r.enabled;
    j["result"] = r.result;
    j["alerts"] = nlohmann::ordered_json::array();
    for (const Alert& a : r.alerts)
        j["alerts"].push_back({{"title", a.title}, {"text", a.text}});
    j["dialogs"] = r.dialogs;
    j["undoSteps"] = r.undoSteps;
    j["resized"] = nlohmann::ordered_json::array();
    for (const ResizeRecord& rr : r.resized)
        j["resized"].push_back({{"comp", rr.name},
                                {"from", {rr.fromWidth, rr.fromHeight}},
                                {"to", {rr.toWidth, rr.toHeight}}});
    j["corrected"] = nlohmann::ordered_json::array();
    for (const auto& [comp, layer] : r.corrected)
        j["corrected"].push_back({{"comp", comp}, {"layer", layer}});
    j["leaks"] = r.leaks;
    j["progress"] = r.progress;
    if (!r.problems.empty()) j["problems"] = r.problems;
    if (r.undoRestored) j["undoRestored"] = *r.undoRestored;
    return j.dump(2) + "\n";
}

void printReport(const SessionReport& r, std::ostream& out) {
    out << "menu: \"" << r.menuName << "\" " << (r.enabled ? "enabled" : "disabled") << "\n";
    if (!r.chosen) {
        out << "the command was not chosen (disabled)\n";
    } else {
        out << "result: " << r.result << (r.result ? " (the plug-in returned an error)" : " (ok)")
            << "\n";
    }
    for (const std::string& d : r.dialogs)
        out << "dialog: " << d << "\n";
    for (const Alert& a : r.alerts)
        out << "alert: " << a.title << ": " << a.text << "\n";
    for (const std::string& u : r.undoSteps)
        out << "undo step: " << u << "\n";
    for (const ResizeRecord& rr : r.resized)
        out << "resized \"" << rr.name << "\": " << rr.fromWidth << "x" << rr.fromHeight << " -> "
            << rr.toWidth << "x" << rr.toHeight << "\n";
    for (const auto& [comp, layer] : r.corrected)
        out << "corrected \"" << layer << "\" in \"" << comp << "\"\n";
    if (r.progressUpdates > 0)
        out << "progress: " << r.progressUpdates << " frames, last " << r.lastPercent << "%\n";
    for (const std::string& l : r.leaks)
        out << "LEAK: " << l << "\n";
    for (const std::string& p : r.problems)
        out << "host noticed: " << p << "\n";
    if (r.undoRestored) {
        out << "undo: "
            << (*r.undoRestored ? "project restored exactly" : "NOT restored: " + r.undoDifference)
            << "\n";
    }
}

}  // namespace sim
