#include "text/Integer.h"

#include "text/CodePage.h"

#include <array>
#include <limits>
#include <string>

namespace quorvel::text {
namespace {

struct WideForm {
    std::string_view bytes;
    char ascii;
};

constexpr std::array kUtf8WideForms{
    WideForm{"\xEF\xBC\x90", '0'}, WideForm{"\xEF\xBC\x91", '1'}, WideForm{"\xEF\xBC\x92", '2'},
    WideForm{"\xEF\xBC\x93", '3'}, WideForm{"\xEF\xBC\x94", '4'}, WideForm{"\xEF\xBC\x95", '5'},
    WideForm{"\xEF\xBC\x96", '6'}, WideForm{"\xEF\xBC\x97", '7'}, WideForm{"\xEF\xBC\x98", '8'},
    WideForm{"\xEF\xBC\x99", '9'}, WideForm{"\xEF\xBC\x8B", '+'}, WideForm{"\xEF\xBC\x8D", '-'},
    WideForm{"\xE3\x80\x80", ' '},
};

constexpr std::array kGbkWideForms{
    WideForm{"\xA3\xB0", '0'}, WideForm{"\xA3\xB1", '1'}, WideForm{"\xA3\xB2", '2'},
    WideForm{"\xA3\xB3", '3'}, WideForm{"\xA3\xB4", '4'}, WideForm{"\xA3\xB5", '5'},
    WideForm{"\xA3\xB6", '6'}, WideForm{"\xA3\xB7", '7'}, WideForm{"\xA3\xB8", '8'},
    WideForm{"\xA3\xB9", '9'}, WideForm{"\xA3\xAB", '+'}, WideForm{"\xA3\xAD", '-'},
    WideForm{"\xA1\xA1", ' '},
};

char AsciiFormOf(std::string_view character) {
    const auto matches = [character](const auto& forms) -> char {
        for (const WideForm& form : forms) {
            if (form.bytes == character) {
                return form.ascii;
            }
        }
        return '\0';
    };
    return ActiveCodePage() == CodePage::Gbk ? matches(kGbkWideForms) : matches(kUtf8WideForms);
}

// The value with its full-width forms narrowed; any other character is kept as a marker byte
// that is neither blank, sign nor digit, which ends the number where it stands.
std::string Narrowed(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    for (std::size_t pos = 0; pos < value.size();) {
        const std::size_t length = CharLength(value, pos);
        if (length == 1) {
            result.push_back(value[pos]);
        } else {
            const char ascii = AsciiFormOf(value.substr(pos, length));
            result.push_back(ascii != '\0' ? ascii : 'x');
        }
        pos += length;
    }
    return result;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::int32_t ReadInteger(std::string_view value) {
    const std::string narrow = Narrowed(value);
    std::size_t pos = 0;
    while (pos < narrow.size() && IsBlank(narrow[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < narrow.size() && (narrow[pos] == '+' || narrow[pos] == '-')) {
        negative = narrow[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    std::int64_t magnitude = 0;
    for (; pos < narrow.size() && IsDigit(narrow[pos]); ++pos) {
        magnitude = magnitude * 10 + (narrow[pos] - '0');
        if (magnitude > kMax + 1) {
            magnitude = kMax + 1; // stays saturated however many digits follow
        }
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > kMax) {
        return static_cast<std::int32_t>(kMax);
    }
    if (signedValue < kMin) {
        return static_cast<std::int32_t>(kMin);
    }
    return static_cast<std::int32_t>(signedValue);
}

} // namespace quorvel::text
