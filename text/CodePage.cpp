#include "text/CodePage.h"

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <initializer_list>
#include <langinfo.h>

namespace quorvel::text {
namespace {

CodePage activeCodePage = CodePage::Utf8;

std::string AsciiUpperCopy(std::string_view value) {
    std::string result(value);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

bool IsGbkCodeset(std::string_view codeset) {
    const std::string upper = AsciiUpperCopy(codeset);
    return upper == "GBK" || upper == "GB2312" || upper == "GB18030" || upper == "CP936" ||
           upper == "936";
}

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

std::size_t Utf8LeadLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

// The codeset part of the locale name the environment gives for LC_CTYPE ("zh_CN.GBK@x" gives
// "GBK"), in the order setlocale looks: LC_ALL, LC_CTYPE, LANG.
std::string CodesetOfLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string_view name(value);
        const std::size_t dot = name.find('.');
        if (dot == std::string_view::npos) {
            return {};
        }
        const std::string_view codeset = name.substr(dot + 1);
        return std::string(codeset.substr(0, codeset.find('@')));
    }
    return {};
}

} // namespace

CodePage DetectCodePage(const char* overrideValue, const char* localeCodeset) {
    if (overrideValue != nullptr && *overrideValue != '\0') {
        const std::string value = AsciiUpperCopy(overrideValue);
        if (value == "UTF-8" || value == "UTF8") {
            return CodePage::Utf8;
        }
        if (IsGbkCodeset(value)) {
            return CodePage::Gbk;
        }
    }
    if (localeCodeset != nullptr && IsGbkCodeset(localeCodeset)) {
        return CodePage::Gbk;
    }
    return CodePage::Utf8;
}

CodePage DetectCodePageFromEnvironment() {
    // nl_langinfo reports the codeset of the locale the environment asks for only after
    // setlocale; the previous locale is put back so that nothing else changes.
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    const bool localeSet = std::setlocale(LC_CTYPE, "") != nullptr;
    // A locale that is named but not installed still says which code page the user works in.
    const std::string codeset = localeSet ? nl_langinfo(CODESET) : CodesetOfLocaleName();
    std::setlocale(LC_CTYPE, saved.c_str());
    return DetectCodePage(std::getenv("QUORVEL_CODEPAGE"), codeset.c_str());
}

CodePage ActiveCodePage() {
    return activeCodePage;
}

void SetActiveCodePage(CodePage codePage) {
    activeCodePage = codePage;
}

std::size_t CharLength(CodePage codePage, std::string_view text, std::size_t pos) {
    if (pos >= text.size()) {
        return 1;
    }
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        return 1;
    }
    const std::size_t remaining = text.size() - pos;
    if (codePage == CodePage::Gbk) {
        return std::min<std::size_t>(2, remaining);
    }
    const std::size_t length = Utf8LeadLength(lead);
    if (length > remaining) {
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuationByte(static_cast<unsigned char>(text[pos + i]))) {
            return 1;
        }
    }
    return length;
}

std::size_t CharLength(std::string_view text, std::size_t pos) {
    return CharLength(activeCodePage, text, pos);
}

} // namespace quorvel::text
