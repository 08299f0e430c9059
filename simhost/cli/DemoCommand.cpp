// zentrim-host demo: the sample project cropped as a user would, with pictures of before and after.
#include <filesystem>
#include <ostream>

#include "Commands.h"
#include "OutputPaths.h"
#include "DemoProject.h"
#include "Pictures.h"
#include "ProjectFile.h"
#include "Report.h"
#include "ScriptEngine.h"
#include "Session.h"

namespace sim {

int demoCommand(const CliOptions& o, std::ostream& out) {
    checkOutputFolder("--out", o.out);
    Project project = parseProject(demoProjectText(), "demo project", "");
    Session session(project, o.plugin);
    session.host.log.setRecording(false);
    installScriptEngine(session.host, UserAnswers());
    if (session.startResult) throw std::runtime_error("the plug-in's entry point failed");

    out << "Zentrim demo: \"Main\" shows the precomposition \"Logo\" (1920x1080), whose logo sits "
           "off-centre.\n"
        << "The layer \"Logo\" is selected; the user opens the Layer menu and chooses "
           "\"Zentrim\".\n\n";
    SessionReport report = session.play(SessionOptions());
    printReport(report, out);

    std::filesystem::create_directories(o.out);
    const Item* logo = session.host.project.findItemByName("Logo");
    const Item* main = session.host.project.findItemByName("Main");
    writeCompPicture(session.before, logo->id, o.out + "/before.png", true);
    writeCompPicture(session.host.project, logo->id, o.out + "/after.png", true);
    writeCompPicture(session.before, main->id, o.out + "/main-before.png", false);
    writeCompPicture(session.host.project, main->id, o.out + "/main-after.png", false);
    saveProject(session.host.project, o.out + "/project.json");
    out << "\nwrote " << o.out << "/before.png and " << o.out
        << "/after.png (the precomposition before and after"
        << " the crop, transparency shown as a checkerboard),\n      " << o.out
        << "/main-before.png and " << o.out
        << "/main-after.png (the main composition: identical), and " << o.out << "/project.json\n";
    return report.chosen && report.result == A_Err_NONE ? 0 : 1;
}

}  // namespace sim
