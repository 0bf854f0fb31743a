// What the print and export options dialogs share: the choice of the entry on screen, all
// entries or a range of days, and the two day fields of the range.
#pragma once

#ifndef Q_MOC_RUN
#include "app/OutputDays.h"
#include "platform/Day.h"
#endif

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

namespace quillory {

class TOutputOptions : public QDialog {
    Q_OBJECT

public:
    // Set by the caller before the dialog is shown; replaced from the day fields by OK.
    Day StartDate;
    Day EndDate;
    bool FirstActivation = true;
    bool CurrentOnlyChosen = false;
    bool AllChosen = false;

    // The first activation fills the day fields from StartDate and EndDate.
    virtual void FormActivate();
    // The day fields only while a range is chosen; subclasses add their own rules.
    virtual void SetButtons();
    // Copies the choice; for a range the days come from the fields, else EndDate := StartDate.
    virtual void TakeChoice();
    // Takes the choice and closes the dialog with OK.
    virtual void OKButtonClick();
    void CancelButtonClick();
    // What was chosen, as the output commands take it.
    OutputScope Scope() const;

    QWidget* Panel1 = nullptr;
    QLabel* DateEditLabel = nullptr;
    QLabel* DateFormat = nullptr;
    QDateEdit* DateEditFrom = nullptr;
    QLabel* Label1 = nullptr;
    QDateEdit* DateEditTo = nullptr;
    QRadioButton* PrintCurrentOnly = nullptr;
    QRadioButton* PrintAll = nullptr;
    QRadioButton* PrintRangeOfDates = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    // `verb` is "Print" or "Export", as the radio buttons say.
    TOutputOptions(const char* verb, QWidget* parent);
    void showEvent(QShowEvent* event) override;
};

} // namespace quillory
