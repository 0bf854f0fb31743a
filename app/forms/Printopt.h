// TPrintOptions: what to print (the entry on screen, all entries or a range of days) and how
// (each entry on pages of its own, or merged to save paper), on the printer or into a PDF.
#pragma once

#include "app/forms/OutputOptions.h"

namespace quillory {

class TPrintOptions : public TOutputOptions {
    Q_OBJECT

public:
    // The dialog's result when "Save as PDF" closed it.
    static constexpr int kSaveAsPdf = 2;

    explicit TPrintOptions(QWidget* parent = nullptr);

    bool MergeChosen = false;

    // The layout choice while a range or all entries are chosen (it keeps its state otherwise
    // and still decides); OK only while a printer is installed.
    void SetButtons() override;
    void TakeChoice() override;
    // Takes the choice as OK does and closes the dialog with kSaveAsPdf.
    void SavePdfButtonClick();

    QWidget* Panel2 = nullptr;
    QRadioButton* EachPageSeparate = nullptr;
    QRadioButton* MergePages = nullptr;
    QPushButton* SavePdfButton = nullptr;
    QLabel* NoPrinterLabel = nullptr;
};

} // namespace quillory
