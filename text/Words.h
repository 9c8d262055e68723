#pragma once

#include "text/CodePage.h"

#include <string_view>

// The program's own words (INI section and key names, the registry's removed mark, booleans,
// backup prefixes) are written in the sources as UTF-8. Where they meet a Text they are needed in
// the active code page; each is converted once and kept for the rest of the run.
namespace quorvel::text {

const Text& InterfaceText(std::string_view utf8);

// UTF-8 bytes in the active code page; characters the code page lacks become "?".
Text FromUtf8(std::string_view utf8, CodePage codePage);

// The booleans stored as text: "真" is true, "假" is false.
const Text& BoolWord(bool value);
bool IsTrueWord(std::string_view value);

} // namespace quorvel::text
