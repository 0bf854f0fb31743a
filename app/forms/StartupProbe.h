// Measuring the start: with QUILLORY_QUIT_AFTER_FIRST_PAINT set, the program ends as soon as its
// main window has been painted once. Only the start-up benchmark sets it; it may also name in
// QUILLORY_STARTUP_REPORT a file to which the probe writes, at that first paint, the time of the
// system's monotonic clock in nanoseconds and the resident memory in kibibytes.
#pragma once

class QWidget;

namespace quillory {

inline constexpr const char* kQuitAfterFirstPaintVariable = "QUILLORY_QUIT_AFTER_FIRST_PAINT";
inline constexpr const char* kStartupReportVariable = "QUILLORY_STARTUP_REPORT";

// Does nothing unless the variable is set.
void QuitAfterFirstPaintWhenMeasuring(QWidget& window);

} // namespace quillory
