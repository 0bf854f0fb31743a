// The program's pointing-hand cursor, from the cursor resource "HAND".
#pragma once

#include <QCursor>

namespace quillory {

// The finger tip of the picture is the hot spot. Falls back to the system's pointing hand when
// the program's resources are not loaded.
QCursor HandCursor();

} // namespace quillory
