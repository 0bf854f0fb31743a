// The symbol fonts on demand.
#include "app/forms/SymbolFontLoading.h"

#include "app/SymbolFontUse.h"
#include "richtext/qt/SymbolFonts.h"

#include <QClipboard>
#include <QComboBox>
#include <QFont>
#include <QGuiApplication>
#include <QMimeData>

namespace quillory {

QStringList EnsureSymbolFonts()
{
    static bool added = false;
    if (added)
        return {};
    added = true;
    return AddSymbolFonts();
}

bool ClipboardNamesSymbolFont()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    for (const QString& format : data->formats()) {
        if (format.contains(QLatin1String("rtf"), Qt::CaseInsensitive)
            || format.contains(QLatin1String("Rich Text"), Qt::CaseInsensitive)) {
            const QByteArray rtf = data->data(format);
            if (MayNameSymbolFont(std::string_view(rtf.constData(), std::size_t(rtf.size()))))
                return true;
        }
    }
    return false;
}

void AddToFontList(QComboBox& list, const QStringList& families)
{
    const bool showsFonts = list.count() > 0 && list.itemData(0, Qt::FontRole).isValid();
    for (const QString& family : families) {
        if (list.findText(family) >= 0)
            continue;
        int at = 0;
        while (at < list.count() && QString::compare(list.itemText(at), family, Qt::CaseInsensitive) < 0)
            ++at;
        list.insertItem(at, family);
        if (showsFonts)
            list.setItemData(at, QFont(family), Qt::FontRole);
    }
}

} // namespace quillory
