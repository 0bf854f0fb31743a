// TSymbolSelector: the dialog that shows the characters 32 to 255 of an installed symbol font
// and returns the one chosen, for insertion in that font.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QToolButton;
class QWidget;

namespace quillory {

class TSymbolSelector : public QDialog {
    Q_OBJECT

public:
    // Fills the font list from the font database; with no symbol font installed it says so
    // and the dialog is closed (NoSymbolFonts()).
    explicit TSymbolSelector(QWidget* parent = nullptr);

    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* FontTestLabel = nullptr;
    QComboBox* SymbolSets = nullptr;
    QWidget* Panel3 = nullptr;
    QListWidget* SymbolList = nullptr;
    QWidget* panel2 = nullptr;
    QToolButton* CopyCharButton = nullptr;
    QToolButton* OKButton = nullptr;

    QString SymbolFont;    // the font of the chosen character
    // The chosen character: the cp1252 character of its byte in UTF-8, as the document holds
    // text in a symbol font (the painter draws the font's own glyph of that byte).
    std::string SymbolChar;

    // The symbol fonts among `families` (TrueType fonts with a symbol character set), sorted;
    // the Wingdings-like one is selected first. Empty: "No Symbol fonts installed".
    void LoadFontsList(const QStringList& families);
    bool NoSymbolFonts() const noexcept { return noFonts_; }

    void FormActivate();
    void SymbolSetsClick();
    void SymbolListClick();
    void SymbolListDblClick();
    void CopyCharButtonClick();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool noFonts_ = false;
};

} // namespace quillory
