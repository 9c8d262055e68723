#pragma once

#include "cli/Console.h"

#include <span>
#include <string_view>

// The commands of quorvel-notes. Each handler gets its arguments exactly as given (bytes in the
// active code page), does one store operation and reports it through the console and its status.
namespace quorvel::cli {

// Which backup a backup or restore command works on, decided by the --manual option.
enum class BackupKind { Startup, Manual };

// One run of one command, made by RunCommandLine: it lends the arguments (owned by main) and the
// console for the length of the call.
struct Invocation {
    std::span<const Text> arguments; // after the command name and any --manual
    BackupKind backupKind = BackupKind::Startup;
    Console& console;
};

using Handler = Status (*)(const Invocation&);

// Documents and backups (NotebookCommands.cpp).
Status ListLabelsCommand(const Invocation& run);
Status ReadCommand(const Invocation& run);
Status SaveCommand(const Invocation& run);
Status NewCommand(const Invocation& run);
Status RenameCommand(const Invocation& run);
Status DeleteCommand(const Invocation& run);
Status CatCommand(const Invocation& run);
Status BackupCommand(const Invocation& run);
Status RestoreCommand(const Invocation& run);

// The settings file and its document registry (SettingsCommands.cpp).
Status GetCommand(const Invocation& run);
Status SetCommand(const Invocation& run);
Status RegistryCommand(const Invocation& run);
Status RegisterCommand(const Invocation& run);
Status UnregisterCommand(const Invocation& run);
Status ReregisterCommand(const Invocation& run);

// Picks the command named by the first argument from the command table and runs it.
Status RunCommandLine(std::span<const Text> arguments, Console& console);

} // namespace quorvel::cli
