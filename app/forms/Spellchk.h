// TSpellCheckDialog: walks the words of an entry, stops at each that no dictionary knows, and
// lets the user skip it, replace it (with a suggestion or their own text) or add it to the user
// dictionary. The dictionaries are the program folder's, through the Qt-free TSpellEngine; the
// language is chosen in the dialog and kept for the diary in QL.INI.
#pragma once

#include "app/spell/SpellEngine.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quillory {

class TWPRichText;

class TSpellCheckDialog : public QDialog {
    Q_OBJECT

public:
    // Opens the main dictionary and the user dictionary (creating it when it is missing).
    explicit TSpellCheckDialog(QWidget* parent = nullptr);
    ~TSpellCheckDialog() override;

    // The editor being checked; set before the dialog is shown.
    void SetEditor(TWPRichText* editor) { editor_ = editor; }

    // First activation only: the walk starts again at the start of the entry.
    void FormActivate();
    // On to the next unknown word, or at the end "Spell check complete" and the dialog closes.
    void CheckNextWord();
    void GetNextWordButtonClick() { CheckNextWord(); }
    void ReplaceClick();
    void AddbuttonClick();
    void WordListDblClick();
    void CancelClick() { close(); }
    // Another language chosen: kept for the diary, its dictionary opened, and the walk started
    // again from the start of the entry, whose words are now judged by another dictionary.
    void LanguageChange();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* WordList = nullptr;
    QLineEdit* Word = nullptr;
    QLineEdit* ReplaceAs = nullptr;
    QPushButton* GetNextWordButton = nullptr;
    QPushButton* Replace = nullptr;
    QPushButton* Addbutton = nullptr;
    QPushButton* Cancel = nullptr;
    QLabel* LanguageLabel = nullptr;
    QComboBox* Language = nullptr;  // the installed languages; item data: the code
    spell::TSpellEngine SpellEngine1;

    bool FirstActivation = true;
    int UserDictionaryNumber = -1;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Removes the editor's selection and closes the dictionaries.
    void FormClose();

    TWPRichText* editor_ = nullptr;
    bool restartWalk_ = false;
    bool closed_ = false;
};

// The "Spell Check" command: the dialog on `editor`, centred and modal.
void RunSpellCheck(TWPRichText* editor, QWidget* parent);

} // namespace quillory
