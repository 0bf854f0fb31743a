// The replace dialog shared by all editors: the find dialog with a replacement, "Replace" for
// the match that is selected and "Replace All" from the start of the document.
#pragma once

#include "richtext/qt/FindDialog.h"

namespace quillory {

class TWPReplaceDialog : public TWPFindDialog {
    Q_OBJECT

public:
    explicit TWPReplaceDialog(QWidget* parent = nullptr);

    static TWPReplaceDialog* Shared(TWPRichText& editor);

    QLineEdit* ReplaceEdit = nullptr;
    QPushButton* ReplaceButton = nullptr;
    QPushButton* ReplaceAllButton = nullptr;

    // Replaces the selection when it is a match, then finds the next one.
    bool ReplaceButtonClick();
    // Returns the number of replacements.
    int ReplaceAllButtonClick();
};

} // namespace quillory
