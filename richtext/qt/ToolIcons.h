// The toolbar's icon images: the icon theme's where a standard name fits, else drawn in code on
// a 20 × 20 grid.
#pragma once

#include "richtext/tools/ToolBarTable.h"

#include <QIcon>

class QPainter;

namespace quillory {

// The freedesktop standard name of the icon, or null where none fits (those are drawn here).
const char* ToolIconThemeName(ToolIconId id) noexcept;
// The icon theme's picture of the standard name when the theme has it; otherwise ours, drawn at
// 20 × 20 and 40 × 40 pixels.
QIcon ToolIconImage(ToolIconId id);
// Paints the icon into the 20 × 20 square at the painter's origin.
void PaintToolIcon(QPainter& painter, ToolIconId id);

// A 20 × 12 swatch of a colour for the colour lists.
QIcon ColorSwatch(const QColor& color);

} // namespace quillory
