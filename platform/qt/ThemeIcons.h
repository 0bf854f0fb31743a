// Pictures from the desktop's icon theme, found by the freedesktop icon theme rules and decoded
// in the format their file names give. Qt's own theme icons decode by guessing the format, which
// loads every image plug-in on the system before the first toolbar is drawn; these load one
// picture at the size asked for, when it is first drawn.
#pragma once

#include <QIcon>
#include <QString>

namespace quillory {

// The icon named `name` (a standard name such as "edit-copy") in the theme Qt uses
// (QIcon::themeName), the themes it inherits, the fallback theme and "hicolor", searched in
// QIcon::themeSearchPaths; a null icon when none of them has it.
QIcon ThemeIcon(const QString& name);

} // namespace quillory
