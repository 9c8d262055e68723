#pragma once

#include "text/CodePage.h"

#include <QString>
#include <QStringView>
#include <cstddef>
#include <string_view>

// The display boundary: Text bytes in the active code page become QString for Qt and back.
// The round trip is lossless: a byte that is not valid in the code page is shown as a replacement
// glyph (a private-use code point of its own, U+10FF00 + the byte, in plane 16) and comes back as
// the same byte. Line breaks and ASCII pass unchanged.
//
// Characters that Qt's text document would take for structure (U+2029, U+FDD0, U+FDD1) are
// shown as their bytes' replacement glyphs too, so that they stay characters on the screen.
namespace quorvel::ui {

QString DecodeForDisplay(std::string_view bytes);

// A character the code page cannot hold becomes "?"; a lone surrogate too.
Text EncodeFromDisplay(QStringView text);

// How many bytes EncodeFromDisplay writes for one code point (1 for a replacement glyph or a
// character that becomes "?").
std::size_t EncodedLength(char32_t codePoint);

} // namespace quorvel::ui
