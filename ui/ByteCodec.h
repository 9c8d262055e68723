#pragma once

#include "text/CodePage.h"

#include <QString>
#include <QStringView>
#include <string_view>

// The display boundary: Text bytes in the active code page become QString for Qt and back.
// The round trip is lossless: a byte that is not valid in the code page is shown as a replacement
// glyph (a private-use code point of its own) and comes back as the same byte. Line breaks pass
// unchanged.
namespace quorvel::ui {

QString DecodeForDisplay(std::string_view bytes);
Text EncodeFromDisplay(QStringView text);

} // namespace quorvel::ui
