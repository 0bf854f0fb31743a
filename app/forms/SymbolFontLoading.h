// The symbol fonts, added to the application's fonts when first needed rather than at start:
// reading and sorting them out takes longer than showing the main window.
#pragma once

#include <QStringList>

class QComboBox;

namespace quillory {

// Adds the symbol fonts the first time it is called; returns the families added then, and
// nothing on every later call.
QStringList EnsureSymbolFonts();

// Whether the clipboard holds RTF that may name a symbol font (MayNameSymbolFont).
bool ClipboardNamesSymbolFont();

// Adds `families` to a list of font names kept in alphabetical order (the toolbar's), where
// they are missing.
void AddToFontList(QComboBox& list, const QStringList& families);

} // namespace quillory
