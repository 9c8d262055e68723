#pragma once

#include "text/CodePage.h"

#include <cstddef>
#include <string_view>
#include <vector>

// Searches, splits and case conversions over Text. Each steps by CharLength in the active code
// page, so none of them matches, folds or cuts inside a character; only HoldsLineBreak looks at
// bytes.
namespace quorvel::text {

// How a comparison or search treats ASCII letters; chosen by the caller on each call.
enum class CaseSensitivity { Exact, IgnoreAsciiCase };

// Folds only the single-byte ASCII letters; bytes of multi-byte characters stay as they are.
Text ToAsciiLower(std::string_view value);
Text ToAsciiUpper(std::string_view value);

bool EqualText(std::string_view a, std::string_view b, CaseSensitivity sensitivity);

// First match of needle whose first byte is a character start at or after from, or npos.
// from must itself be a character start (0 always is).
std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from,
                     CaseSensitivity sensitivity = CaseSensitivity::Exact);

// Position of the last single-byte character equal to c, or npos.
std::size_t FindLastChar(std::string_view haystack, char c);

// The pieces between the single-byte separators, empty pieces included.
std::vector<std::string_view> SplitText(std::string_view value, char separator);

// True when the value holds a CR or LF byte. Bytes, not characters: a file's lines, the settings
// file's values and the file system break at every such byte, even one a lead byte would take in.
bool HoldsLineBreak(std::string_view value);

// The longest prefix of at most maxBytes bytes that ends on a character boundary.
std::string_view CutAtCharBoundary(std::string_view value, std::size_t maxBytes);

} // namespace quorvel::text
