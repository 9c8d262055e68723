#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// A Text is a byte string in the active code page. The program never converts it; positions and
// lengths count bytes.
using Text = std::string;

// The code pages a Text can be in; which one is active is program-wide state of this layer.
enum class CodePage {
    Utf8,
    Gbk, // code page 936
};

namespace text {

// Decides the code page: QUORVEL_CODEPAGE ("936" or "utf-8") wins, else the locale's codeset
// (GBK, GB2312, GB18030 and CP936 mean code page 936), else UTF-8. Either argument may be null.
CodePage DetectCodePage(const char* overrideValue, const char* localeCodeset);

// Reads QUORVEL_CODEPAGE and the locale of the environment. Called once at start-up.
CodePage DetectCodePageFromEnvironment();

// The code page every search, split and case conversion steps by. UTF-8 until set.
CodePage ActiveCodePage();
void SetActiveCodePage(CodePage codePage);

// How many bytes the character that starts at pos takes (at least 1, never past the end).
// Code page 936: a byte of 0x80 or more starts a two-byte character. UTF-8: a lead byte with its
// continuation bytes gives 2, 3 or 4; any byte that cannot start a character counts as one.
std::size_t CharLength(CodePage codePage, std::string_view text, std::size_t pos);
std::size_t CharLength(std::string_view text, std::size_t pos);

} // namespace text
} // namespace quorvel
