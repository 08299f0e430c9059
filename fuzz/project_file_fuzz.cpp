// Fuzz target: the project-file loader. Any text either loads or is refused with sim::ProjectError
// (never a crash, never another exception); what loads saves to text that loads back to an equal
// project and saves to the same text again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "ProjectFile.h"

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // Footage paths resolve against the examples, so that the seeds' images load.
    const std::string footage = ZENTRIM_SOURCE_DIR "/examples";
    sim::Project project;
    try {
        project = sim::parseProject(text, "fuzz.json", footage);
    } catch (const sim::ProjectError&) {
        return 0;
    } catch (const std::exception& e) {
        fail(std::string("not a ProjectError: ") + e.what());
    }
    std::string saved;
    sim::Project reloaded;
    try {
        saved = sim::serializeProject(project);
        reloaded = sim::parseProject(saved, "saved.json", footage);
    } catch (const std::exception& e) {
        fail(std::string("a loaded project does not save and load again: ") + e.what() +
             "\n--- saved text:\n" + saved);
    }
    std::string difference = sim::describeDifference(project, reloaded);
    if (!difference.empty()) fail("save and load changed the project: " + difference);
    if (sim::serializeProject(reloaded) != saved) fail("saving the reloaded project differs");
    return 0;
}
