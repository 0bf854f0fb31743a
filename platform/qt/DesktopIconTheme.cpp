// The desktop's icon theme, with a Debian icon theme behind it.
#include "platform/qt/DesktopIconTheme.h"

#include <QIcon>
#include <QStringList>

namespace quillory {

void UseDesktopIconTheme()
{
    const QString fallback = QString::fromLatin1(kFallbackIconTheme);
    // Where no desktop tells Qt its theme, Qt names only the base theme, which has no pictures
    // for commands.
    const QString current = QIcon::themeName();
    if (current.isEmpty() || current == QLatin1String("hicolor"))
        QIcon::setThemeName(fallback);
    QIcon::setFallbackThemeName(fallback);
    // The system's icon folder, also under platforms (offscreen, minimal) that do not list it.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& folder : {QStringLiteral("/usr/local/share/icons"), QStringLiteral("/usr/share/icons")}) {
        if (!paths.contains(folder))
            paths.append(folder);
    }
    QIcon::setThemeSearchPaths(paths);
}

} // namespace quillory
