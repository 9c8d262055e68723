#pragma once

#include "store/FileIo.h"

#include <optional>
#include <string>
#include <vector>

// The command line as the shell split it, after the program's own name. Arguments are bytes and
// stay bytes.
namespace quorvel::app {

// The document to make current: the first argument, made absolute against the working directory
// when it is relative (leading "./" dropped); later arguments are ignored. Nothing when there is
// no argument; an empty argument stays empty.
std::optional<Text> DocumentArgument(const std::vector<std::string>& arguments,
                                     const store::Path& workingDirectory);

// The process's working directory as bytes, "" when it cannot be read.
store::Path CurrentWorkingDirectory();

} // namespace quorvel::app
