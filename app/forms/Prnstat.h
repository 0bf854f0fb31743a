// TPrintStatusForm: the window that prints while it is shown, says which day it has printed,
// and offers Cancel between two days; when printing ends its button closes it.
#pragma once

#ifndef Q_MOC_RUN
#include "app/PrintEntries.h"
#endif

#include <QDialog>
#include <QString>

class QLabel;
class QPrinter;
class QPushButton;

namespace quillory {

class TPrintStatusForm : public QDialog {
    Q_OBJECT

public:
    explicit TPrintStatusForm(QWidget* parent = nullptr);

    // Set by the caller: the days, the layout, the password and the date texts. The margins
    // become one inch each when printing starts.
    PrintSettings Settings;
    // Where the pages go: the printer, or the PDF file named here (written whole once the
    // pages are made; nothing is written when none were or the job was abandoned).
    QPrinter* Printer = nullptr;
    QString PdfFile;
    bool Cancelled = false;
    // How the run ended; set once printing has run.
    PrintOutcome Outcome;
    bool Printed() const noexcept { return printed_; }

    // Prints, once: at the first activation of the window.
    void FormActivate();
    // While printing: cancels between two days, and the button becomes the one that closes.
    // Afterwards: closes the window.
    void CancelButtonClick();

    QPushButton* CancelButton = nullptr;
    QLabel* printerstatus = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Run();
    void BecomeOkButton();
    void SetStatus(const QString& text);

    bool printed_ = false;
    bool running_ = false;
    bool closes_ = false;
};

} // namespace quillory
