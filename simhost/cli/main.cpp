// zentrim-host: the command-line host simulator.
#include <iostream>

#include "Commands.h"

int main(int argc, char** argv) {
    try {
        sim::CliOptions options = sim::parseCommandLine(argc, argv);
        if (options.verb == "render") return sim::renderCommand(options, std::cout);
        if (options.verb == "run") return sim::runCommand(options, std::cout);
        if (options.verb == "panel") return sim::panelCommand(options, std::cout);
        if (options.verb == "menu") return sim::menuCommand(options, std::cout);
        if (options.verb == "demo") return sim::demoCommand(options, std::cout);
        std::cerr << "zentrim-host: unknown command " << options.verb << "\n";
        return 2;
    } catch (const sim::HelpRequested& help) {
        std::cout << help.text;
        return 0;
    } catch (const sim::UsageError& e) {
        std::cerr << "zentrim-host: " << e.what() << "\n";
        return 2;
    } catch (const sim::BadInput& e) {
        std::cerr << "zentrim-host: " << e.what() << "\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "zentrim-host: " << e.what() << "\n";
        return 1;
    }
}
