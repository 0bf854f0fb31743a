// The toolbar's icon images, drawn in code on a 20 × 20 grid.
#pragma once

#include "richtext/tools/ToolBarTable.h"

#include <QIcon>

class QPainter;

namespace quillory {

// The icon at 20 × 20 and 40 × 40 pixels.
QIcon ToolIconImage(ToolIconId id);
// Paints the icon into the 20 × 20 square at the painter's origin.
void PaintToolIcon(QPainter& painter, ToolIconId id);

// A 20 × 12 swatch of a colour for the colour lists.
QIcon ColorSwatch(const QColor& color);

} // namespace quillory
