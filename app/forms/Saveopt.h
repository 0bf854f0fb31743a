// TSaveOptions: which entries to export (the entry on screen, all entries or a range of days),
// in which format, and into which folder; and the small window that shows the export's progress.
#pragma once

#include "app/forms/OutputOptions.h"

#ifndef Q_MOC_RUN
#include "app/ExportEntries.h"
#endif

#include <QString>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace quillory {

class TSaveOptions : public TOutputOptions {
    Q_OBJECT

public:
    explicit TSaveOptions(QWidget* parent = nullptr);

    // The folder shown at the start; OK replaces it with the chosen one, ending with '/'.
    QString Folder;
    ExportFormat Format = ExportFormat::Rtf;

    // Also shows Folder in the folder field.
    void FormActivate() override;
    void TakeChoice() override;
    // OK only for an existing folder; otherwise a notice and the dialog stays.
    void OKButtonClick() override;
    // Picks the folder in the system's folder dialog, starting at the one shown.
    void BrowseButtonClick();
    // The example of the file names follows the format.
    void FormatBoxChange();

    QWidget* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* DirectoryListBox1 = nullptr;
    QPushButton* BrowseButton = nullptr;
    QLabel* FormatLabel = nullptr;
    QComboBox* FormatBox = nullptr;
    QLabel* Label3 = nullptr;
};

// The busy window of the export: a headline and a status line, shown while the export runs.
class TExportProgress : public QWidget {
    Q_OBJECT

public:
    explicit TExportProgress(QWidget* parent = nullptr);
    // Shows the text and lets the window repaint.
    void SetStatus(const QString& text);

    QLabel* WhatAmIdoing = nullptr;
    QLabel* Status = nullptr;
};

} // namespace quillory
