#include "cli/Commands.h"

#include <algorithm>
#include <array>
#include <string>

namespace quorvel::cli {
namespace {

enum class ManualFlag { NotTaken, Taken };

struct Command {
    std::string_view name;
    std::string_view arguments; // as shown in the usage text
    std::size_t minArguments;
    std::size_t maxArguments;
    ManualFlag manualFlag;
    Handler handler;
    std::string_view summary;
};

constexpr std::array kCommands{
    Command{"labels", "DOC", 1, 1, ManualFlag::NotTaken, ListLabelsCommand,
            "list the labels of DOC, one a line"},
    Command{"read", "DOC LABEL", 2, 2, ManualFlag::NotTaken, ReadCommand,
            "print the text of a section"},
    Command{"save", "DOC LABEL", 2, 2, ManualFlag::NotTaken, SaveCommand,
            "set a section's text from standard input"},
    Command{"new", "DOC LABEL", 2, 2, ManualFlag::NotTaken, NewCommand,
            "add an empty section for a new label"},
    Command{"rename", "DOC OLD NEW", 3, 3, ManualFlag::NotTaken, RenameCommand, "rename a label"},
    Command{"delete", "DOC LABEL", 2, 2, ManualFlag::NotTaken, DeleteCommand, "delete a section"},
    Command{"cat", "DOC", 1, 1, ManualFlag::NotTaken, CatCommand, "print the whole document"},
    Command{"backup", "[--manual] DOC", 1, 1, ManualFlag::Taken, BackupCommand,
            "make the automatic (over 4 bytes) or manual backup"},
    Command{"restore", "[--manual] DOC", 1, 1, ManualFlag::Taken, RestoreCommand,
            "copy the automatic or manual backup over DOC"},
    Command{"get", "INI SECTION KEY [DEFAULT]", 3, 4, ManualFlag::NotTaken, GetCommand,
            "print a setting"},
    Command{"set", "INI SECTION KEY VALUE", 4, 4, ManualFlag::NotTaken, SetCommand,
            "write a setting"},
    Command{"registry", "INI", 1, 1, ManualFlag::NotTaken, RegistryCommand,
            "list the registered documents, one a line"},
    Command{"register", "INI PATH", 2, 2, ManualFlag::NotTaken, RegisterCommand,
            "add a document to the registry"},
    Command{"unregister", "INI PATH", 2, 2, ManualFlag::NotTaken, UnregisterCommand,
            "remove a document from the registry"},
    Command{"reregister", "INI OLD NEW", 3, 3, ManualFlag::NotTaken, ReregisterCommand,
            "replace a registered path"},
};

constexpr std::string_view kManualOption = "--manual";

std::string UsageEntry(std::string_view synopsis, std::string_view summary) {
    constexpr std::size_t kSummaryColumn = 36;
    std::string line = "  " + std::string(synopsis);
    line.resize(std::max(line.size() + 2, kSummaryColumn), ' ');
    return line + std::string(summary) + "\n";
}

std::string UsageText() {
    std::string usage = "Usage: quorvel-notes COMMAND ARGUMENTS...\n\nCommands:\n";
    for (const Command& command : kCommands) {
        usage += UsageEntry(std::string(command.name) + " " + std::string(command.arguments),
                            command.summary);
    }
    usage += UsageEntry("--help", "show this list");
    usage += "\n"
             "Arguments are taken as bytes, as given; output is written byte for byte.\n"
             "QUORVEL_CODEPAGE=936 (or utf-8) sets the code page, else the locale decides.\n"
             "\n"
             "Exit status: 0 done; 1 not found, already there, refused or nothing made;\n"
             "2 wrong usage; 3 a file could not be read or written.\n";
    return usage;
}

Status UsageError(const Console& console, std::string_view problem) {
    console.Complain(problem);
    console.Err("\n" + UsageText());
    return Status::Usage;
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool IsHelp(std::string_view word) {
    return word == "--help" || word == "-h" || word == "help";
}

} // namespace

Status RunCommandLine(std::span<const Text> arguments, Console& console) {
    if (arguments.empty()) {
        return UsageError(console, "no command given");
    }
    if (IsHelp(arguments[0])) {
        console.Out(UsageText());
        return Status::Success;
    }
    const Command* command = FindCommand(arguments[0]);
    if (command == nullptr) {
        return UsageError(console, "unknown command: " + arguments[0]);
    }
    std::span<const Text> rest = arguments.subspan(1);
    BackupKind backupKind = BackupKind::Startup;
    if (command->manualFlag == ManualFlag::Taken && !rest.empty() && rest[0] == kManualOption) {
        backupKind = BackupKind::Manual;
        rest = rest.subspan(1);
    }
    if (rest.size() < command->minArguments || rest.size() > command->maxArguments) {
        return UsageError(console, "wrong number of arguments for " + std::string(command->name));
    }
    return command->handler(Invocation{rest, backupKind, console});
}

} // namespace quorvel::cli
