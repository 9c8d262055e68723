#pragma once

#include "store/FontRecord.h"

#include <QColor>

class QWidget;

// A control's font and colours as a FontRecord's Appearance, and back. The text colour is the
// palette's Text role, the background its Base role; colour values hold red in the low byte,
// then green, then blue.
namespace quorvel::app {

QColor ColourFromValue(std::int32_t value);
std::int32_t ValueOfColour(const QColor& colour);

store::Appearance AppearanceOf(const QWidget& widget);
void ApplyAppearance(QWidget& widget, const store::Appearance& appearance);

} // namespace quorvel::app
