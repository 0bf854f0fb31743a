// The find dialog shared by all editors of the program: text, direction, match case and whole
// word; "Find Next" searches from the caret of the editor it is bound to.
#pragma once

#include "richtext/edit/TextFinder.h"

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quillory {

class TWPRichText;

// One dialog of each kind serves every editor: it is found again among the open windows by its
// object name. Null when none is open.
QDialog* FindOpenDialog(const QString& objectName);

class TWPFindDialog : public QDialog {
    Q_OBJECT

public:
    explicit TWPFindDialog(QWidget* parent = nullptr);

    // The dialog shared by all editors (created on first use), bound to `editor`.
    static TWPFindDialog* Shared(TWPRichText& editor);

    void Bind(TWPRichText& editor);
    TWPRichText* editor() const { return editor_; }

    QLineEdit* FindEdit = nullptr;
    QRadioButton* UpButton = nullptr;
    QRadioButton* DownButton = nullptr;
    QCheckBox* MatchCaseCheck = nullptr;
    QCheckBox* WholeWordCheck = nullptr;
    QPushButton* FindNextButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QLabel* StatusLabel = nullptr;

    FindOptions options() const;
    // Searches on from the caret; false (and a note in the dialog) when nothing more is found.
    bool FindNextButtonClick();

protected:
    QGridLayout* grid_ = nullptr;
    QPointer<TWPRichText> editor_;
    void showNotFound();
    void clearStatus();
};

} // namespace quillory
