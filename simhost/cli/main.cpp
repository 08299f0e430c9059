// zentrim-host: the command-line host simulator.
#include <cstring>
#include <iostream>

#include <nlohmann/json.hpp>

#include "Commands.h"
#include "HostModelOption.h"
#include "Interrupt.h"

namespace {

// The message on stderr, and with --json the same as an object on stdout, so that a program
// reading the report always gets JSON.
int fail(int status, const char* kind, const std::string& message, bool json) {
    std::cerr << "zentrim-host: " << message << "\n";
    if (json) {
        nlohmann::ordered_json error = {{"error", kind}, {"message", message}, {"status", status}};
        std::cout << error.dump(2) << "\n";
    }
    return status;
}

// Whether --json is on the command line, for errors found before it is parsed.
bool asksForJson(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--json") == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // A run ended by Ctrl-C (outside the crop over the duration), SIGTERM or SIGHUP leaves no
    // temporary file or folder behind.
    sim::removeTemporaryFilesOnEndingSignals();
    bool json = asksForJson(argc, argv);
    try {
        sim::CliOptions options = sim::parseCommandLine(argc, argv);
        json = options.json;
        if (options.verb == "render") return sim::renderCommand(options, std::cout);
        if (options.verb == "run") return sim::runCommand(options, std::cout);
        if (options.verb == "panel") return sim::panelCommand(options, std::cout);
        if (options.verb == "menu") return sim::menuCommand(options, std::cout);
        if (options.verb == "demo") return sim::demoCommand(options, std::cout);
        if (options.verb == "models") return sim::modelsCommand(options, std::cout);
        if (options.verb == "probe") return sim::probeCommand(options, std::cout);
        return fail(sim::kExitBadInput, "bad input", "unknown command " + options.verb, json);
    } catch (const sim::HelpRequested& help) {
        std::cout << help.text;
        return sim::kExitRan;
    } catch (const sim::UsageError& e) {
        return fail(sim::kExitBadInput, "bad input", e.what(), json);
    } catch (const sim::BadInput& e) {
        return fail(sim::kExitBadInput, "bad input", e.what(), json);
    } catch (const std::exception& e) {
        return fail(sim::kExitInternal, "internal", std::string("internal error: ") + e.what(),
                    json);
    } catch (...) {
        return fail(sim::kExitInternal, "internal", "internal error: an unknown exception", json);
    }
}
