// TParagraphPropDlg: indents (in inches or centimetres) and spacing (in points) of the paragraph
// at the caret, applied on OK to that paragraph or to every paragraph of the selection.
#pragma once

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillory {

class TWPRichText;

class TParagraphPropDlg : public QDialog {
    Q_OBJECT

public:
    explicit TParagraphPropDlg(QWidget* parent = nullptr);

    // The editor to work on; set before showing. Not owned.
    TWPRichText* Editor = nullptr;

    // The values in twips, in the order of the paragraph record's first six fields.
    int FirstIndentValue = 0;
    int LeftIndentValue = 0;
    int RightIndentValue = 0;
    int SpaceBeforeValue = 0;
    int SpaceAfterValue = 0;
    int LineHeightValue = 0;

    // --- handlers -----------------------------------------------------------------------------
    // Reads the paragraph at the caret and fills the edits (runs when the dialog is shown).
    void FormShow();
    // Sets every edit's text from its value.
    void ShowValues();
    // Stores the value an edit's text stands for; a text that is no number is reported and
    // changes nothing.
    void EditChange(QLineEdit* edit);
    void ComboBox1Change();
    void FirstIndentComboClick();
    void SetHints();
    void OkbuttonClick();

    // --- components, by their designer names ------------------------------------------------------
    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* FirstIndent = nullptr;
    QLineEdit* LeftIndent = nullptr;
    QLineEdit* RightIndent = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* Okbutton = nullptr;
    QComboBox* FirstIndentCombo = nullptr;
    QLineEdit* SpaceBeforePts = nullptr;
    QLineEdit* SpaceAfterPts = nullptr;
    QLineEdit* LineHeightPts = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    int* ValueOf(const QLineEdit* edit);
    void SetEditText(QLineEdit* edit, int value);
    bool showing_ = false;
};

} // namespace quillory
