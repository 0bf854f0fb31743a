// Measuring the start: with QUILLORY_QUIT_AFTER_FIRST_PAINT set, the program ends as soon as its
// main window has been painted once. Only the start-up benchmark sets it.
#pragma once

class QWidget;

namespace quillory {

inline constexpr const char* kQuitAfterFirstPaintVariable = "QUILLORY_QUIT_AFTER_FIRST_PAINT";

// Does nothing unless the variable is set.
void QuitAfterFirstPaintWhenMeasuring(QWidget& window);

} // namespace quillory
