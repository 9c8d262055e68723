#pragma once

#include <cstdint>
#include <string_view>

namespace quorvel::text {

// Reads a decimal integer the way the settings values are read: full-width digits, signs and the
// ideographic space of the active code page count as their ASCII forms; leading blanks are
// skipped; an optional sign and the digits after it are read; no digits gives 0; a value beyond
// the 32-bit range saturates.
std::int32_t ReadInteger(std::string_view value);

} // namespace quorvel::text
