// Loading the window furniture's pictures (ring bitmaps, hand cursor) into Qt's resources.
#pragma once

namespace quillory {

// The pictures are compiled into a static library, where nothing would otherwise pull them
// into the program: call this once before the first ring panel or link label is painted.
// Calling it again does no harm.
void InitFurnitureResources();

} // namespace quillory
