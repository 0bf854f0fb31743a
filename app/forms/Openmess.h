// TShowOpeningMessage: the notice at start-up that the diary is no safe store without backups.
#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace quillory {

class TShowOpeningMessage : public QDialog {
    Q_OBJECT

public:
    explicit TShowOpeningMessage(QWidget* parent = nullptr);

    void OKButtonClick();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* OKButton = nullptr;
    QCheckBox* DontShow = nullptr;
};

// Shows the notice modally and returns whether it is to be shown at the next start (the new
// ShowOpeningScreen): false once "Do not show this message again" was ticked.
bool ShowOpeningNotice();

} // namespace quillory
