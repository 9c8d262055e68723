#include "store/FontRecord.h"

#include "text/Integer.h"
#include "text/TextOps.h"
#include "text/Words.h"

#include <string>

namespace quorvel::store {

SettingName FontSettingOf(FontTarget target) {
    return target == FontTarget::EditBox ? kEditBoxFontSetting : kTreeFontSetting;
}

Text EncodeFontRecord(const Appearance& appearance) {
    Text record;
    for (const bool style :
         {appearance.bold, appearance.italic, appearance.strikeout, appearance.underline}) {
        record += text::BoolWord(style);
        record += '|';
    }
    record += appearance.faceName;
    for (const std::int32_t number :
         {appearance.pointSize, appearance.textColour, appearance.backgroundColour}) {
        record += '|';
        record += std::to_string(number);
    }
    return record;
}

std::optional<Appearance> DecodeFontRecord(std::string_view record, const Appearance& current) {
    if (record.empty()) {
        return std::nullopt;
    }
    std::vector<std::string_view> fields = text::SplitText(record, '|');
    if (fields.back().empty()) {
        fields.pop_back(); // nothing after a final separator
    }
    constexpr std::size_t kFieldCount = 8;
    if (fields.size() < kFieldCount) {
        return std::nullopt;
    }
    Appearance result = current;
    bool* const styles[] = {&result.bold, &result.italic, &result.strikeout, &result.underline};
    for (std::size_t index = 0; index < std::size(styles); ++index) {
        if (text::IsTrueWord(fields[index])) {
            *styles[index] = true; // any other word keeps the style as it was
        }
    }
    result.faceName = Text(fields[4]);
    result.pointSize = text::ReadInteger(fields[5]);
    result.textColour = text::ReadInteger(fields[6]);
    result.backgroundColour = text::ReadInteger(fields[7]);
    return result;
}

ProfileWriteOutcome SaveFontRecord(Settings& settings, FontTarget target,
                                   const Appearance& appearance) {
    return settings.WriteSetting(FontSettingOf(target), EncodeFontRecord(appearance));
}

std::optional<Appearance> LoadFontRecord(const Settings& settings, FontTarget target,
                                         const Appearance& current) {
    return DecodeFontRecord(settings.ReadSetting(FontSettingOf(target)), current);
}

} // namespace quorvel::store
