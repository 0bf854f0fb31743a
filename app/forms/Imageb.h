// TImageBrowser: the dialog that picks a picture file, previews it at 25 to 200 percent and hands
// it to the main window for insertion at the caret.
#pragma once

#include "controls/Imager.h"

#include <QByteArray>
#include <QDialog>
#include <QImage>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QScrollArea;
class QSpinBox;

namespace quillory {

// The accepted types, as the file list matches them and Panel3 shows them.
inline constexpr const char* kImageFileMask =
    "*.BMP;*.DIB;*.JPG;*.JPEG;*.JIF;*.PCX;*.RLE;*.TGA;*.ICO;*.WMF;*.PNG;*.GIF;*.WEBP";

class TImageBrowser : public QDialog {
    Q_OBJECT

public:
    explicit TImageBrowser(QWidget* parent = nullptr);

    QComboBox* DriveComboBox1 = nullptr;
    QListWidget* DirectoryListBox1 = nullptr;
    QListWidget* FileListBox1 = nullptr;
    QLabel* Panel3 = nullptr;
    QScrollArea* Panel1 = nullptr;
    TSmartImage* Image1 = nullptr; // the preview, and the picture that is inserted
    TSmartImage* Image2 = nullptr; // the unscaled picture (invisible)
    TSmartImage* SmartImage1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* KeepOriginalCheck = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* Cancelbutton = nullptr;

    bool Loading = false;

    // The folder shown; the drive box, folder list and file list follow it.
    void SetFolder(const QString& folder);
    const QString& Folder() const noexcept { return folder_; }
    // Selects a file of the list by name (any letter case); false when it is not listed.
    bool SelectFile(const QString& name);
    // The selected file's full name, empty when none is.
    QString SelectedFile() const;
    // The bytes of the file previewed, for pictures kept in their encoded form.
    const QByteArray& SelectedBytes() const noexcept { return bytes_; }

    void FileListBox1Change();
    void SpinEdit1Change();
    void OKButtonClick();
    void CancelbuttonClick();

private:
    void FillFolders();
    void FillFiles();

    QString folder_;
    QByteArray bytes_;
};

} // namespace quillory
