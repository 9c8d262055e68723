#include "text/Words.h"

#include <cerrno>
#include <iconv.h>
#include <map>
#include <utility>

namespace quorvel::text {

Text FromUtf8(std::string_view utf8, CodePage codePage) {
    if (codePage == CodePage::Utf8) {
        return Text(utf8);
    }
    iconv_t converter = iconv_open("GBK", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return Text(utf8);
    }
    Text result;
    std::string input(utf8);
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char buffer[256];
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // A character the code page lacks becomes one "?", a broken byte one "?" each.
            const auto offset = static_cast<std::size_t>(in - input.data());
            const std::size_t skipped = CharLength(CodePage::Utf8, input, offset);
            result.push_back('?');
            in += skipped;
            inLeft -= skipped;
        }
    }
    iconv_close(converter);
    return result;
}

const Text& InterfaceText(std::string_view utf8) {
    static std::map<std::pair<CodePage, std::string>, Text, std::less<>> converted;
    const CodePage codePage = ActiveCodePage();
    auto key = std::make_pair(codePage, std::string(utf8));
    auto found = converted.find(key);
    if (found == converted.end()) {
        found = converted.emplace(std::move(key), FromUtf8(utf8, codePage)).first;
    }
    return found->second;
}

const Text& BoolWord(bool value) {
    return InterfaceText(value ? "真" : "假");
}

bool IsTrueWord(std::string_view value) {
    return value == BoolWord(true);
}

} // namespace quorvel::text
