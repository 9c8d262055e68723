#pragma once

#include "store/Settings.h"

#include <cstdint>
#include <optional>

// The appearance of the edit box or the tree as one settings value: eight fields joined by "|":
// bold, italic, strikeout and underline as "真" or "假", the face name, the size in points, the
// text colour and the background colour (decimal; red in the low byte, then green, then blue).
namespace quorvel::store {

// A control's font and colours as plain values. The caller owns each copy; the window reads it
// from a widget and applies it to one, the settings file keeps it as a FontRecord.
struct Appearance {
    bool bold = false;
    bool italic = false;
    bool strikeout = false;
    bool underline = false;
    Text faceName;
    std::int32_t pointSize = 9;
    std::int32_t textColour = 0;
    std::int32_t backgroundColour = 0xFFFFFF;

    friend bool operator==(const Appearance&, const Appearance&) = default;
};

// The two controls whose appearance the settings file keeps, each under its own setting.
enum class FontTarget { EditBox, Tree };

SettingName FontSettingOf(FontTarget target);

Text EncodeFontRecord(const Appearance& appearance);

// The record applied onto the current appearance, or nothing when the record has fewer than
// eight pieces (an empty piece after a final "|" does not count). A style field other than "真"
// leaves that style as it was; a size or colour without digits gives 0.
std::optional<Appearance> DecodeFontRecord(std::string_view record, const Appearance& current);

// Writes the target's record, and reads it back applied onto the current appearance.
ProfileWriteOutcome SaveFontRecord(Settings& settings, FontTarget target,
                                   const Appearance& appearance);
std::optional<Appearance> LoadFontRecord(const Settings& settings, FontTarget target,
                                         const Appearance& current);

} // namespace quorvel::store
