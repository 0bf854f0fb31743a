// TSplashform: the about box - the program's name and version beside an OK button.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillory {

class TUrlLabel;

class TSplashform : public QDialog {
    Q_OBJECT

public:
    explicit TSplashform(QWidget* parent = nullptr);

    QLabel* ProgramName = nullptr;
    QLabel* Version = nullptr;
    QLabel* FolderCaption = nullptr;
    // Opens the diary folder, where the entries and QL.INI to back up are kept.
    TUrlLabel* FolderLink = nullptr;
    QPushButton* OKButton = nullptr;
};

// The About command: the about box, centred with CenterForm, shown modally.
void ShowAboutBox(QWidget* parent = nullptr);

} // namespace quillory
