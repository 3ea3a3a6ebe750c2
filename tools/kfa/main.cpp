// kfa: list, extract, inspect and write album files.
#include <cstdio>
#include <exception>
#include <iostream>
#include <new>

#include "Arguments.h"
#include "Commands.h"
#include "archive/AlbumError.h"

namespace {

const std::vector<kfa::Command>& AllCommands() {
    static const std::vector<kfa::Command> commands = {
        kfa::ListCommand(), kfa::ExtractCommand(), kfa::InfoCommand(), kfa::PackCommand(),
        kfa::MakeCommand(), kfa::BundleCommand(),  kfa::ViewCommand()};
    return commands;
}

void PrintHelp(std::ostream& out) {
    out << "Usage: kfa COMMAND [ARGUMENTS]\n\n"
           "Reads and writes Pagora album files (.kfa, or albums appended to the viewer).\n\n"
           "Commands:\n";
    for (const kfa::Command& c : AllCommands()) {
        out << "  " << c.Name << std::string(10 - c.Name.size(), ' ') << c.Summary << "\n";
    }
    out << "\n'kfa COMMAND --help' describes a command; 'kfa --version' names the version.\n"
           "Exit status: 0 success, 1 a named member does not exist, 2 the album cannot be\n"
           "read or the command was called wrongly.\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? kfa::kUnreadable : kfa::kSuccess;
    }
    if (args[0] == "--version") {
        std::cout << "kfa (Pagora) " << PAGORA_VERSION << "\n";
        return kfa::kSuccess;
    }
    const kfa::Command* command = nullptr;
    for (const kfa::Command& c : AllCommands())
        if (c.Name == args[0])
            command = &c;
    if (!command) {
        std::cerr << "kfa: unknown command \"" << args[0] << "\" (see kfa --help)\n";
        return kfa::kUnreadable;
    }
    std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& a : rest) {
        if (a == "--help" || a == "-h") {
            std::cout << command->Usage;
            return kfa::kSuccess;
        }
    }
    try {
        return command->Run(rest);
    } catch (const kfa::UsageError& e) {
        std::cerr << "kfa " << command->Name << ": " << e.what() << "\n\n" << command->Usage;
        return kfa::kUnreadable;
    } catch (const kfa::MissingMember& e) {
        std::cerr << "kfa: " << e.what() << "\n";
        return kfa::kMissingMember;
    } catch (const std::bad_alloc&) {
        std::cerr << "kfa: out of memory\n";
        return kfa::kUnreadable;
    } catch (const std::exception& e) {
        std::cerr << "kfa: " << e.what() << "\n";
        return kfa::kUnreadable;
    }
}
