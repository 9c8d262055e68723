#include "text/TextOps.h"

namespace quorvel::text {
namespace {

template <typename ByteMap> Text MapSingleByteChars(std::string_view value, ByteMap map) {
    Text result(value);
    for (std::size_t pos = 0; pos < result.size();) {
        const std::size_t length = CharLength(result, pos);
        if (length == 1) {
            result[pos] = map(result[pos]);
        }
        pos += length;
    }
    return result;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

Text ToAsciiLower(std::string_view value) {
    return MapSingleByteChars(value, LowerAscii);
}

Text ToAsciiUpper(std::string_view value) {
    return MapSingleByteChars(value, UpperAscii);
}

bool EqualText(std::string_view a, std::string_view b, CaseSensitivity sensitivity) {
    if (a.size() != b.size()) {
        return false;
    }
    if (sensitivity == CaseSensitivity::Exact) {
        return a == b;
    }
    return ToAsciiLower(a) == ToAsciiLower(b);
}

std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from,
                     CaseSensitivity sensitivity) {
    if (sensitivity == CaseSensitivity::IgnoreAsciiCase) {
        // Folding keeps every byte in its place, so positions in the folded copies are the same.
        const Text foldedHaystack = ToAsciiLower(haystack);
        const Text foldedNeedle = ToAsciiLower(needle);
        return FindText(foldedHaystack, foldedNeedle, from, CaseSensitivity::Exact);
    }
    if (needle.size() > haystack.size()) {
        return std::string_view::npos;
    }
    std::size_t pos = from;
    while (pos + needle.size() <= haystack.size()) {
        // Jump to the next byte-wise candidate, then walk characters up to it so that a match
        // starting on a trail byte is never taken.
        const std::size_t candidate = haystack.find(needle, pos);
        if (candidate == std::string_view::npos) {
            return std::string_view::npos;
        }
        while (pos < candidate) {
            pos += CharLength(haystack, pos);
        }
        if (pos == candidate) {
            return candidate;
        }
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view haystack, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t pos = 0; pos < haystack.size();) {
        const std::size_t length = CharLength(haystack, pos);
        if (length == 1 && haystack[pos] == c) {
            found = pos;
        }
        pos += length;
    }
    return found;
}

std::vector<std::string_view> SplitText(std::string_view value, char separator) {
    std::vector<std::string_view> pieces;
    std::size_t pieceStart = 0;
    for (std::size_t pos = 0; pos < value.size();) {
        const std::size_t length = CharLength(value, pos);
        if (length == 1 && value[pos] == separator) {
            pieces.push_back(value.substr(pieceStart, pos - pieceStart));
            pieceStart = pos + 1;
        }
        pos += length;
    }
    pieces.push_back(value.substr(pieceStart));
    return pieces;
}

bool HoldsLineBreak(std::string_view value) {
    return value.find_first_of("\r\n") != std::string_view::npos;
}

std::string_view CutAtCharBoundary(std::string_view value, std::size_t maxBytes) {
    if (value.size() <= maxBytes) {
        return value;
    }
    std::size_t end = 0;
    while (end < value.size()) {
        const std::size_t next = end + CharLength(value, end);
        if (next > maxBytes) {
            break;
        }
        end = next;
    }
    return value.substr(0, end);
}

} // namespace quorvel::text
