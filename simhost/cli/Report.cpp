// Writing a session's report as JSON or as text.
#include "Report.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace sim {

namespace {

constexpr size_t kMaxProgressValues = 1000000;

nlohmann::ordered_json framesJson(const std::vector<FrameDifference>& frames) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const FrameDifference& d : frames) {
        nlohmann::ordered_json entry = {
            {"comp", d.comp}, {"time", d.time.toString()}, {"pixels", d.pixels}};
        if (!d.picture.empty()) entry["picture"] = d.picture;
        list.push_back(entry);
    }
    return list;
}

nlohmann::ordered_json verificationJson(const Verification& v) {
    nlohmann::ordered_json j;
    j["nothingMoved"] = v.nothingMoved();
    j["nothingCut"] = v.nothingCut();
    j["compositions"] = v.comps;
    j["frames"] = v.frames;
    j["differingPixels"] = v.differingPixels;
    j["differences"] = framesJson(v.differences);
    j["cutPixels"] = v.cutPixels;
    j["cut"] = framesJson(v.cut);
    j["croppedAwayPixels"] = v.croppedAwayPixels;
    j["croppedAway"] = framesJson(v.croppedAway);
    j["summary"] = verificationSummary(v);
    return j;
}

}  // namespace

std::string reportJson(const SessionReport& r) {
    nlohmann::ordered_json j;
    j["menuName"] = r.menuName;
    j["enabled"] = r.enabled;
    j["action"] = r.action.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(r.action);
    if (r.panel) j["panelRequest"] = *r.panel;
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
    // Every value, from the runs when the run listened to the progress; a list beyond a million
    // values says what it holds.
    if (r.progressRuns.empty()) {
        j["progress"] = r.progress;
    } else {
        std::vector<int> values;
        for (const auto& [percent, times] : r.progressRuns)
            for (size_t i = 0; i < times && values.size() < kMaxProgressValues; ++i)
                values.push_back(percent);
        j["progress"] = values;
    }
    if (j["progress"].size() < r.progressUpdates) {
        j["progressUpdates"] = r.progressUpdates;
        j["progressThinned"] = "progress lists the first " + std::to_string(j["progress"].size()) +
                               " of " + std::to_string(r.progressUpdates) + " updates";
    }
    if (!r.problems.empty()) j["problems"] = r.problems;
    if (!r.unanswered.empty()) j["unanswered"] = r.unanswered;
    if (!r.unusedAnswers.empty()) {
        j["unusedAnswers"] = nlohmann::ordered_json::array();
        for (const UnusedAnswer& u : r.unusedAnswers)
            j["unusedAnswers"].push_back({{"entry", u.entry},
                                          {"title", u.title},
                                          {"used", u.used},
                                          {"actions", u.actions},
                                          {"notApplied", u.notApplied}});
    }
    if (!r.warnings.empty()) j["warnings"] = r.warnings;
    if (!r.hostModel.empty()) j["hostModel"] = r.hostModel;
    if (!r.panelTitle.empty())
        j["panel"] = {{"title", r.panelTitle}, {"controls", r.panelControls}};
    if (r.undoRestored) j["undoRestored"] = *r.undoRestored;
    if (!r.pictures.empty()) j["pictures"] = r.pictures;
    if (r.interrupted) j["interrupted"] = true;
    if (r.verification) j["verify"] = verificationJson(*r.verification);
    if (r.changes) {
        j["changes"] = nlohmann::ordered_json::array();
        for (const ValueChange& c : *r.changes) {
            const char* kind = c.kind == ValueChange::Added     ? "added"
                               : c.kind == ValueChange::Removed ? "removed"
                                                                : "changed";
            nlohmann::ordered_json entry = {{"where", c.where}, {"what", c.what}, {"kind", kind}};
            if (c.kind != ValueChange::Added) entry["before"] = c.before;
            if (c.kind != ValueChange::Removed) entry["after"] = c.after;
            j["changes"].push_back(entry);
        }
    }
    return j.dump(2) + "\n";
}

void printReport(const SessionReport& r, std::ostream& out) {
    for (const std::string& m : r.hostModel)
        out << "host model: " << m << "\n";
    bool panelShown = !r.panelTitle.empty();  // zentrim-host panel: the user worked in it
    if (panelShown) {
        out << "panel \"" << r.panelTitle
            << "\": actions that ran: " << (r.action.empty() ? "none" : r.action) << "\n";
    } else if (r.panel) {
        std::string name = panelActionName(*r.panel);
        out << "panel request: " << *r.panel << (name.empty() ? "" : " (" + name + ")") << "\n";
        if (r.chosen) {
            out << "action: " << r.action << " (the plug-in ran the command)\n";
        } else {
            out << "action: none (the plug-in did not run the command)\n";
        }
        out << "menu afterwards: \"" << r.menuName << "\" " << (r.enabled ? "enabled" : "disabled")
            << "\n";
    } else {
        out << "menu: \"" << r.menuName << "\" " << (r.enabled ? "enabled" : "disabled") << "\n";
        if (r.chosen) out << "action: " << r.action << "\n";
    }
    if (panelShown) {
        out << "result: " << r.result << (r.result ? " (the plug-in returned an error)" : " (ok)")
            << "\n";
    } else if (!r.chosen) {
        out << (r.panel ? "the request ran nothing\n" : "the command was not chosen (disabled)\n");
    } else {
        out << "result: " << r.result << (r.result ? " (the plug-in returned an error)" : " (ok)")
            << "\n";
    }
    for (const std::string& d : r.dialogs)
        out << "dialog: " << d << "\n";
    for (const Alert& a : r.alerts)
        out << "alert: " << (a.title.empty() ? "" : a.title + ": ") << a.text << "\n";
    for (const std::string& u : r.undoSteps)
        out << "undo step: " << u << "\n";
    for (const ResizeRecord& rr : r.resized)
        out << "resized \"" << rr.name << "\": " << rr.fromWidth << "x" << rr.fromHeight << " -> "
            << rr.toWidth << "x" << rr.toHeight << "\n";
    for (const auto& [comp, layer] : r.corrected)
        out << "corrected \"" << layer << "\" in \"" << comp << "\"\n";
    // A dialog cancelled ("Choose Mask"), nothing to crop: say so rather than nothing at all.
    if (r.chosen && r.result == A_Err_NONE && !r.projectChanged)
        out << "nothing changed: the project is as it was\n";
    if (r.progressUpdates > 0)
        out << "progress: " << r.progressUpdates << " frames, last " << r.lastPercent << "%"
            << (r.interrupted ? " (Ctrl-C held the cancel chord)" : "") << "\n";
    for (const std::string& l : r.leaks)
        out << "LEAK: " << l << "\n";
    for (const std::string& p : r.problems)
        out << "host noticed: " << p << "\n";
    for (const std::string& u : r.unanswered)
        out << "UNANSWERED: " << u << "\n";
    for (const UnusedAnswer& u : r.unusedAnswers) {
        out << "unused answer: dialogs[" << u.entry << "] \"" << u.title << "\": ";
        if (!u.used)
            out << "never used: no window with this title opened";
        else
            out << "its last " << u.notApplied << " of " << u.actions
                << " actions not applied (the window closed before them, or one failed)";
        out << "\n";
    }
    for (const std::string& w : r.warnings)
        out << "warning: " << w << "\n";
    if (panelShown) {
        out << "panel \"" << r.panelTitle << "\""
            << (r.panelControls.empty() ? ": closed" : " at the end:") << "\n";
        for (const std::string& c : r.panelControls)
            out << "  " << c << "\n";
        out << "menu afterwards: \"" << r.menuName << "\" " << (r.enabled ? "enabled" : "disabled")
            << " (the plug-in's Layer menu command as it left it)\n";
    }
    if (r.undoRestored) {
        out << "undo: "
            << (*r.undoRestored ? "project restored exactly" : "NOT restored: " + r.undoDifference)
            << "\n";
    }
    if (r.changes) {
        out << "changes: " << r.changes->size() << (r.changes->size() == 1 ? " value" : " values")
            << "\n";
        for (const ValueChange& c : *r.changes)
            out << "  " << describeChange(c) << "\n";
    }
    if (r.verification) {
        out << "verify: " << verificationSummary(*r.verification) << "\n";
        for (const FrameDifference& d : r.verification->differences)
            out << "  \"" << d.comp << "\" at " << d.time.toString() << " s: " << d.pixels
                << (d.pixels == 1 ? " pixel differs" : " pixels differ")
                << (d.picture.empty() ? "" : " (" + d.picture + ")") << "\n";
        for (const FrameDifference& d : r.verification->cut)
            out << "  \"" << d.comp << "\" at " << d.time.toString() << " s: " << d.pixels
                << (d.pixels == 1 ? " pixel" : " pixels") << " visible at the measured time cut"
                << (d.picture.empty() ? "" : " (" + d.picture + ")") << "\n";
        for (const FrameDifference& d : r.verification->croppedAway)
            out << "  \"" << d.comp << "\" at " << d.time.toString() << " s: " << d.pixels
                << (d.pixels == 1 ? " pixel" : " pixels")
                << " of content outside the crop window no longer shown\n";
    }
    for (const std::string& p : r.pictures)
        out << "picture: " << p << "\n";
}

}  // namespace sim
