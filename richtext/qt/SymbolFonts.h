// The symbol fonts that entries name (Wingdings, Webdings, Marlett, Symbol) live on Debian in a
// folder that fontconfig does not scan; they are added to the application's fonts at start.
#pragma once

#include <QString>
#include <QStringList>

namespace quillory {

// The folder Debian's symbol fonts are installed in.
QString SymbolFontFolder();

// Adds the TrueType symbol fonts of `folder` to the application's font database and returns
// their families; a missing folder adds nothing. Needs a Gui application; meant to be called
// once (a second call adds the files again, harmlessly).
QStringList AddSymbolFonts(const QString& folder = SymbolFontFolder());

} // namespace quillory
