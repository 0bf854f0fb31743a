// TLookForAll: asks for the text to look for in every entry.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace quillory {

class TLookForAll : public QDialog {
    Q_OBJECT

public:
    // Created anew for each use: the query always starts empty.
    explicit TLookForAll(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* LookForText = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // Cancel
};

} // namespace quillory
