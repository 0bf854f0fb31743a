// TWarningScreen: the request to back up the diary before its password changes.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillory {

class TWarningScreen : public QDialog {
    Q_OBJECT

public:
    explicit TWarningScreen(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
};

} // namespace quillory
