// Loading the translations of the user's language.
#include "app/forms/Translations.h"

#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace quillory {

bool InstallTranslations(const QLocale& locale, const QString& folder)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // Qt's own texts of standard dialogs and buttons, where Debian ships them.
    auto* qt = new QTranslator(app);
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    const QString where = folder.isEmpty() ? QString::fromStdString(DataFolder() + "translations") : folder;
    auto* own = new QTranslator(app);
    if (!own->load(locale, QStringLiteral("quillory"), QStringLiteral("_"), where)) {
        delete own;
        return false;
    }
    QCoreApplication::installTranslator(own);
    return true;
}

} // namespace quillory
