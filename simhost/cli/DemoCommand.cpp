// zentrim-host demo: the sample project cropped as a user would, with pictures of before and after.
#include <filesystem>
#include <iostream>
#include <ostream>

#include "Commands.h"
#include "DemoProject.h"
#include "OutputPaths.h"
#include "Pictures.h"
#include "ProjectFile.h"
#include "Report.h"
#include "ScriptEngine.h"
#include "Session.h"
#include "Verify.h"

namespace sim {

namespace {

const char* const kDemoFiles[] = {"before.png", "after.png", "main-before.png", "main-after.png",
                                  "project.json"};

}  // namespace

int demoCommand(const CliOptions& o, std::ostream& out) {
    checkOutputFolder("--out", o.out);
    for (const char* name : kDemoFiles) {
        std::string path = o.out + "/" + name;
        std::error_code error;
        if (std::filesystem::exists(std::filesystem::symlink_status(path, error)))
            checkOutputFile("--out", path);
    }
    Project project = parseProject(demoProjectText(), "demo project", "");
    Session session(project, o.plugin);
    session.host.log().setRecording(false);
    installScriptEngine(session.host, UserAnswers());
    if (session.startResult) {
        std::cerr << "zentrim-host: the plug-in's entry point returned error "
                  << session.startResult << "\n";
        return kExitPluginError;
    }

    out << "Zentrim demo: \"Main\" shows the precomposition \"Logo\" (1920x1080), whose logo sits "
           "off-centre.\n"
        << "The layer \"Logo\" is selected; the user opens the Layer menu and chooses "
           "\"Zentrim\".\n\n";
    SessionReport report = session.play(SessionOptions());
    // The claim that nothing moved on screen is measured: every composition that shows the
    // cropped one, rendered before and after at the times that matter, pixel by pixel.
    PictureNames names;
    report.verification = verifyCrop(session.before, session.host.project(), report.resized,
                                     cropCommandOf(report, session.host.prefs()), "", names);
    printReport(report, out);

    std::filesystem::create_directories(o.out);
    const Item* logo = session.host.project().findItemByName("Logo");
    const Item* main = session.host.project().findItemByName("Main");
    writeCompPicture(session.before, logo->id, o.out + "/before.png", true);
    writeCompPicture(session.host.project(), logo->id, o.out + "/after.png", true);
    writeCompPicture(session.before, main->id, o.out + "/main-before.png", false);
    writeCompPicture(session.host.project(), main->id, o.out + "/main-after.png", false);
    saveProject(session.host.project(), o.out + "/project.json");
    const Verification& v = *report.verification;
    out << "\nwrote " << o.out << "/before.png and " << o.out
        << "/after.png (the precomposition before and after"
        << " the crop, transparency shown as a checkerboard),\n      " << o.out
        << "/main-before.png and " << o.out
        << "/main-after.png (the main composition: " << (v.passed() ? "identical" : "DIFFERENT")
        << ", " << verificationSummary(v) << "), and " << o.out << "/project.json\n";
    bool ok = report.chosen && report.result == A_Err_NONE && v.passed();
    return ok ? kExitRan : kExitPluginError;
}

}  // namespace sim
