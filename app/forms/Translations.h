// The user's language: the program's own translations (translations/ in the data folder) and
// Qt's for its standard dialogs, chosen from the locale (LANG).
#pragma once

#include <QLocale>
#include <QString>

namespace quillory {

// Installs the translations for `locale` into the application; English needs none. Returns
// whether the program's own translation was found. `folder` is where the .qm files are (empty:
// the data folder's translations/).
bool InstallTranslations(const QLocale& locale, const QString& folder = {});

} // namespace quillory
