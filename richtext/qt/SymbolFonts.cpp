// Loading the symbol fonts of a folder fontconfig leaves out; see SymbolFonts.h.
#include "richtext/qt/SymbolFonts.h"

#include <QDir>
#include <QFontDatabase>

#include <algorithm>

namespace quillory {

QString SymbolFontFolder()
{
    return QStringLiteral("/usr/share/wine/fonts");
}

QStringList AddSymbolFonts(const QString& folder)
{
    QStringList families;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.ttf"), QStringLiteral("*.TTF")}, QDir::Files)) {
        const QString path = dir.filePath(name);
        const int id = QFontDatabase::addApplicationFont(path);
        if (id < 0)
            continue;
        // The folder holds stand-ins for ordinary fonts too (Tahoma, Courier ...); only the
        // symbol fonts stay, so that an entry naming an ordinary font keeps its usual match.
        const QStringList added = QFontDatabase::applicationFontFamilies(id);
        const bool symbol = std::any_of(added.begin(), added.end(), [](const QString& family) {
            return QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol);
        });
        if (symbol)
            families += added;
        else
            QFontDatabase::removeApplicationFont(id);
    }
    families.removeDuplicates();
    return families;
}

} // namespace quillory
