// The shared replace dialog.
#include "richtext/qt/ReplaceDialog.h"

#include "platform/qt/QtText.h"
#include "richtext/qt/RichText.h"

#include <QGridLayout>
#include <QLabel>
#include <QLayoutItem>
#include <QLineEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QVBoxLayout>

namespace quillory {

TWPReplaceDialog::TWPReplaceDialog(QWidget* parent) : TWPFindDialog(parent)
{
    setWindowTitle(tr("Replace"));
    ReplaceEdit = new QLineEdit(this);
    ReplaceButton = new QPushButton(tr("&Replace"), this);
    ReplaceAllButton = new QPushButton(tr("Replace &All"), this);
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
    auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
    replaceLabel->setBuddy(ReplaceEdit);
    ReplaceEdit->setAccessibleName(tr("Replace with"));
    grid_->addWidget(replaceLabel, 1, 0);
    setTabOrder(FindEdit, ReplaceEdit);
    setTabOrder(ReplaceEdit, MatchCaseCheck);
    setTabOrder(FindNextButton, ReplaceButton);
    setTabOrder(ReplaceButton, ReplaceAllButton);
    setTabOrder(ReplaceAllButton, CloseButton);
    grid_->addWidget(ReplaceEdit, 1, 1);
    if (auto* buttons = qobject_cast<QVBoxLayout*>(grid_->itemAtPosition(0, 2)->layout())) {
        buttons->insertWidget(1, ReplaceButton);
        buttons->insertWidget(2, ReplaceAllButton);
    }
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { ReplaceButtonClick(); });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { ReplaceAllButtonClick(); });
}

TWPReplaceDialog* TWPReplaceDialog::Shared(TWPRichText& editor)
{
    const QString name = QStringLiteral("WPReplaceDialog");
    auto* dialog = qobject_cast<TWPReplaceDialog*>(FindOpenDialog(name));
    if (!dialog) {
        dialog = new TWPReplaceDialog(editor.window());
        dialog->setObjectName(name);
    }
    dialog->Bind(editor);
    return dialog;
}

bool TWPReplaceDialog::ReplaceButtonClick()
{
    if (!editor_)
        return false;
    const std::string pattern = QStringToText(FindEdit->text());
    const std::string replacement = QStringToText(ReplaceEdit->text());
    // Only a selection that is itself a match is replaced; otherwise this finds the first one.
    EditorCore& core = editor_->core();
    if (core.HasSelection()) {
        FindOptions forwards = options();
        forwards.backwards = false;
        const TWPTextFinder finder(pattern, forwards);
        const auto found = finder.Find(core.document(), core.SelStartPosition());
        if (found && found->start == core.SelStartPosition() && found->length == core.SelLength()) {
            if (core.ReplaceSelection(replacement))
                core.Changed();
        }
    }
    return FindNextButtonClick();
}

int TWPReplaceDialog::ReplaceAllButtonClick()
{
    if (!editor_)
        return 0;
    const int count =
        editor_->core().ReplaceAll(QStringToText(FindEdit->text()), QStringToText(ReplaceEdit->text()), options());
    StatusLabel->setText(tr("%n replacement(s) made.", nullptr, count));
    return count;
}

} // namespace quillory
