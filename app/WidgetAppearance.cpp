#include "app/WidgetAppearance.h"

#include "ui/ByteCodec.h"

#include <QFont>
#include <QFontInfo>
#include <QPalette>
#include <QWidget>

namespace quorvel::app {

QColor ColourFromValue(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    return QColor(static_cast<int>(bits & 0xFFu), static_cast<int>((bits >> 8) & 0xFFu),
                  static_cast<int>((bits >> 16) & 0xFFu));
}

std::int32_t ValueOfColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

store::Appearance AppearanceOf(const QWidget& widget) {
    const QFont& font = widget.font();
    store::Appearance appearance;
    appearance.bold = font.bold();
    appearance.italic = font.italic();
    appearance.strikeout = font.strikeOut();
    appearance.underline = font.underline();
    appearance.faceName = ui::EncodeFromDisplay(font.family());
    // A font given in pixels has no point size of its own; the resolved one stands in.
    appearance.pointSize = font.pointSize() > 0 ? font.pointSize() : QFontInfo(font).pointSize();
    appearance.textColour = ValueOfColour(widget.palette().color(QPalette::Text));
    appearance.backgroundColour = ValueOfColour(widget.palette().color(QPalette::Base));
    return appearance;
}

void ApplyAppearance(QWidget& widget, const store::Appearance& appearance) {
    QFont font = widget.font();
    font.setBold(appearance.bold);
    font.setItalic(appearance.italic);
    font.setStrikeOut(appearance.strikeout);
    font.setUnderline(appearance.underline);
    font.setFamily(ui::DecodeForDisplay(appearance.faceName));
    // Qt refuses sizes below 1 point; such a size leaves the size as it was.
    if (appearance.pointSize > 0) {
        font.setPointSize(appearance.pointSize);
    }
    widget.setFont(font);

    QPalette palette = widget.palette();
    palette.setColor(QPalette::Text, ColourFromValue(appearance.textColour));
    palette.setColor(QPalette::Base, ColourFromValue(appearance.backgroundColour));
    widget.setPalette(palette);
}

} // namespace quorvel::app
