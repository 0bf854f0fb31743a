// The icon theme the program's pictures come from: the desktop's own, with a Debian icon theme
// (installed by scripts/install-deps) behind it for names the desktop lacks or when it sets none.
#pragma once

namespace quillory {

// The theme behind the desktop's: complete for the standard names of the command buttons and
// the editor's toolbar, in bitmaps of 16 to 32 pixels.
inline constexpr const char* kFallbackIconTheme = "Tango";

// Makes QIcon::fromTheme find the standard names: the desktop's theme when it has set one,
// otherwise the fallback theme; and the fallback theme behind either. Call once after the
// application object exists and before the first window is built.
void UseDesktopIconTheme();

} // namespace quillory
