// The "Import from Another Diary" dialog: the other program's format (or found out from the
// source), the source file or folder, the rule for days that have an entry, a preview of what
// the import would do, the import itself with its progress and a Cancel, and the report.
#pragma once

#include "app/DiarySecurity.h"
#include "app/import/DiaryImport.h"
#include "app/import/ImportFormats.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace quillory {

class TImportDiary : public QDialog {
    Q_OBJECT

public:
    // `key` reads and writes the diary's entries (enciphered in memory when it has a password).
    TImportDiary(const DiaryKey& key, QWidget* parent = nullptr);

    QComboBox* FormatBox = nullptr;    // "Found out from the source", then each format
    QLineEdit* SourceEdit = nullptr;
    QPushButton* FileButton = nullptr;
    QPushButton* FolderButton = nullptr;
    QLineEdit* PatternEdit = nullptr;  // Markdown notes' names
    QComboBox* ConflictBox = nullptr;  // append, skip, replace
    QLabel* PreviewLabel = nullptr;
    QProgressBar* Progress = nullptr;
    QPlainTextEdit* ReportView = nullptr;
    QPushButton* PreviewButton = nullptr;
    QPushButton* ImportButton = nullptr;
    QPushButton* CloseButton = nullptr;

    // Handlers.
    void FileButtonClick();
    void FolderButtonClick();
    // Reads the source and shows what an import would do, writing nothing (a dry run).
    void PreviewButtonClick();
    // Imports (a replace only after the person confirms it) and shows the report.
    void ImportButtonClick();
    // While an import runs: cancels it. Otherwise closes the dialog.
    void CloseButtonClick();

    // Whether the last import wrote anything: the main window then shows the day anew.
    bool Imported() const noexcept { return imported_; }

private:
    // The format chosen, or found out from the source; nothing (with a message shown) when
    // neither says one.
    std::optional<ImportFormat> ChosenFormat();
    // Reads the source and runs the import with `dryRun`; the report, or nothing after an error
    // (shown) or a cancel.
    std::optional<ImportReport> Run(bool dryRun);
    void UpdatePattern();

    DiaryKey key_;
    bool running_ = false;
    bool cancel_ = false;
    bool imported_ = false;
};

} // namespace quillory
