// Writing the report: plain "field: value" lines that a user can read and zentrim-host reads back.
#include "Report.h"

#include <cmath>
#include <cstdio>

#include "HostCheck_Texts.h"
#include "HostScripts.h"

namespace hostcheck {

std::string num(double v) {
    if (v == 0) return "0";  // no "-0"
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

std::string point(double x, double y) {
    return "(" + num(x) + ", " + num(y) + ")";
}

std::string point(const AEGP_ThreeDVal& v) {
    return "(" + num(v.x) + ", " + num(v.y) + ", " + num(v.z) + ")";
}

bool near(double value, double expected) {
    return std::fabs(value - expected) <= 1e-6 * std::fmax(1.0, std::fabs(expected));
}

bool near(const AEGP_ThreeDVal& value, double x, double y) {
    return near(value.x, x) && near(value.y, y);
}

std::string summaryOf(const std::vector<CheckResult>& results) {
    size_t same = 0;
    std::string differ;
    for (const CheckResult& r : results) {
        if (r.matches == r.simulated) {
            ++same;
        } else {
            differ += (differ.empty() ? "" : ", ") + r.name;
        }
    }
    std::string out = std::to_string(results.size()) + " checks, " + std::to_string(same) +
                      " as the simulator plays them by default";
    if (!differ.empty())
        out += "; " + differ + (same + 1 == results.size() ? " differs" : " differ");
    return out + ".";
}

std::string hostModelOf(const std::vector<CheckResult>& results) {
    std::string out;
    for (const CheckResult& r : results)
        if (!r.key.empty() && r.matches != "none")
            out += (out.empty() ? "" : " ") + r.key + "=" + r.matches;
    return out;
}

namespace {

bool removedAll(const RunSummary& run) {
    return run.left.empty() && run.cleanupError.empty();
}

std::string cleanupOf(const RunSummary& run) {
    if (removedAll(run)) return "every item the checks made was removed";
    if (run.left.empty())
        return "whether every item the checks made was removed is not known (" + run.cleanupError +
               ")";
    std::string out = std::to_string(run.left.size()) + " items could not be removed:";
    for (size_t i = 0; i < run.left.size(); ++i)
        out += (i ? ", " : " ") + run.left[i];
    if (!run.cleanupError.empty()) out += " (" + run.cleanupError + ")";
    return out;
}

// A value on one line of the report: line breaks become spaces.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

}  // namespace

std::string outcomeOf(const RunSummary& run, const std::vector<CheckResult>& results) {
    std::string out = run.status == "ran" ? summaryOf(results)
                                          : "the checks could not start: " + run.status + ".";
    if (removedAll(run))
        return out + " The project is as it was: everything the check made has been removed.";
    return out + " Not everything the check made may have been removed (" + cleanupOf(run) +
           "): please delete the folder \"" + kFolderName +
           "\" and what it holds, if it is "
           "there.";
}

std::string reportText(const RunSummary& run, const std::vector<CheckResult>& results) {
    const std::string cleanup = cleanupOf(run);
    std::string out = std::string(kName) + " " + kVersion + " report\n";
    out += "host: " + oneLine(run.host) + "\n";
    out += "status: " + oneLine(run.status) + "\n";
    out += "summary: " + summaryOf(results) + "\n";
    out += "host-model: " + hostModelOf(results) + "\n";
    out += "cleanup: " + oneLine(cleanup) + "\n";
    out +=
        "about: one block per behaviour of the host that Zentrim relies on where the host's "
        "documentation is silent: what the host did, which behaviour of the simulator "
        "(zentrim-host) it matches, and what that means for the plug-in. Please send this "
        "file to the Zentrim maintainers.\n";
    for (const CheckResult& r : results) {
        out += "\ncheck: " + r.name + "\n";
        if (!r.key.empty()) out += "key: " + r.key + "\n";
        out += "observed: " + oneLine(r.observed) + "\n";
        out += "matches: " + r.matches + "\n";
        out += "default: " + r.simulated + "\n";
        out += "meaning: " + oneLine(r.meaning) + "\n";
    }
    return out;
}

namespace {

// The report's script. Each @NAME@ is replaced by its text made safe for a single-quoted string.
const char* const kReportScript = R"((function () {
    var text = '@REPORT@';
    var name = '@FILE@';
    var windows = $.os.indexOf('Windows') >= 0;
    var places = [], reason = '';
    if (typeof Folder != 'undefined') {
        if (Folder.myDocuments) places.push(Folder.myDocuments);
        if (Folder.temp) places.push(Folder.temp);
    }
    for (var i = 0; i < places.length; i++) {
        try {
            var file = new File(places[i].absoluteURI + '/' + name);
            file.encoding = 'UTF-8';
            file.lineFeed = windows ? 'Windows' : 'Unix';
            if (!file.open('w')) continue;
            // Line by line, so that every line ends as this system's text files do.
            var lines = text.split('\n'), written = true;
            if (lines[lines.length - 1] === '') lines.pop();
            for (var n = 0; n < lines.length && written; n++) written = file.writeln(lines[n]);
            file.close();
            if (!written) continue;
            alert('@TITLE@: @OUTCOME@\n\nThe report is in\n' + file.fsName +
                  '\n\nPlease send it to the Zentrim maintainers.', '@TITLE@');
            return file.fsName;
        } catch (e) {
            // The host refuses scripts that write files unless its preference allows them.
            reason = '\n\n(' + e + ')';
        }
    }
    alert('@TITLE@: @OUTCOME@\n\nThe report could not be written into your Documents folder ' +
          'or the temporary folder. If the preference "Allow Scripts to Write Files and Access ' +
          'Network" (Scripting & Expressions) is off, turn it on and choose @TITLE@ again. Or ' +
          'send these lines to the Zentrim maintainers:\n\nhost-model: @HOSTMODEL@' + reason,
          '@TITLE@', true);
    return '';
})();
)";

void fill(std::string& text, const std::string& token, const std::string& value) {
    const std::string safe = scriptString(value);
    for (size_t at = text.find(token); at != std::string::npos;
         at = text.find(token, at + safe.size()))
        text.replace(at, token.size(), safe);
}

}  // namespace

std::string reportScript(const std::string& report, const std::string& outcome,
                         const std::string& hostModel) {
    std::string script = kReportScript;
    // The report last: its own text may hold what looks like a token.
    fill(script, "@FILE@", kReportFileName);
    fill(script, "@TITLE@", kName);
    fill(script, "@OUTCOME@", outcome);
    fill(script, "@HOSTMODEL@", hostModel);
    fill(script, "@REPORT@", report);
    return script;
}

}  // namespace hostcheck
