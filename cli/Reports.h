#pragma once

#include "cli/Commands.h"

// What every command says about the file it was given when that file is the trouble, in one
// wording for all of them.
namespace quorvel::cli {

// A file that is there but cannot be read (a directory, a device, no read permission) is
// complained about; true when it was. A missing file is left to the operation: a document reads as
// empty, a settings file as all defaults.
bool CannotRead(const Invocation& run, const store::Path& path);

// Complains that the file could not be written; the status for it.
Status WriteFailed(const Invocation& run, const store::Path& path);

} // namespace quorvel::cli
