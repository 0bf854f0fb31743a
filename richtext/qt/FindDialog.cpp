// The shared find dialog.
#include "richtext/qt/FindDialog.h"

#include "platform/qt/QtText.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillory {

QDialog* FindOpenDialog(const QString& objectName)
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == objectName)
            if (auto* dialog = qobject_cast<QDialog*>(widget))
                return dialog;
    return nullptr;
}

TWPFindDialog::TWPFindDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Find"));
    setModal(false);
    FindEdit = new QLineEdit(this);
    UpButton = new QRadioButton(tr("&Up"), this);
    DownButton = new QRadioButton(tr("&Down"), this);
    DownButton->setChecked(true);
    MatchCaseCheck = new QCheckBox(tr("Match &case"), this);
    WholeWordCheck = new QCheckBox(tr("Match &whole word only"), this);
    FindNextButton = new QPushButton(tr("&Find Next"), this);
    FindNextButton->setDefault(true);
    CloseButton = new QPushButton(tr("Close"), this);
    StatusLabel = new QLabel(this);

    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(UpButton);
    directionLayout->addWidget(DownButton);

    grid_ = new QGridLayout(this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    UpButton->setObjectName(QStringLiteral("UpButton"));
    DownButton->setObjectName(QStringLiteral("DownButton"));
    MatchCaseCheck->setObjectName(QStringLiteral("MatchCaseCheck"));
    WholeWordCheck->setObjectName(QStringLiteral("WholeWordCheck"));
    FindNextButton->setObjectName(QStringLiteral("FindNextButton"));
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(FindEdit);
    FindEdit->setAccessibleName(tr("Find what"));
    grid_->addWidget(findLabel, 0, 0);
    grid_->addWidget(FindEdit, 0, 1);
    grid_->addWidget(MatchCaseCheck, 2, 0, 1, 2);
    grid_->addWidget(WholeWordCheck, 3, 0, 1, 2);
    grid_->addWidget(direction, 4, 0, 1, 2);
    grid_->addWidget(StatusLabel, 5, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    buttons->addWidget(CloseButton);
    buttons->addStretch();
    grid_->addLayout(buttons, 0, 2, 6, 1);

    // The field, its options from the top, then the buttons.
    setTabOrder(FindEdit, MatchCaseCheck);
    setTabOrder(MatchCaseCheck, WholeWordCheck);
    setTabOrder(WholeWordCheck, UpButton);
    setTabOrder(UpButton, DownButton);
    setTabOrder(DownButton, FindNextButton);
    setTabOrder(FindNextButton, CloseButton);
    connect(FindNextButton, &QPushButton::clicked, this, [this] { FindNextButtonClick(); });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);
    connect(FindEdit, &QLineEdit::textChanged, this, [this] { clearStatus(); });
}

TWPFindDialog* TWPFindDialog::Shared(TWPRichText& editor)
{
    const QString name = QStringLiteral("WPFindDialog");
    auto* dialog = qobject_cast<TWPFindDialog*>(FindOpenDialog(name));
    if (!dialog) {
        dialog = new TWPFindDialog(editor.window());
        dialog->setObjectName(name);
    }
    dialog->Bind(editor);
    return dialog;
}

void TWPFindDialog::Bind(TWPRichText& editor)
{
    editor_ = &editor;
    clearStatus();
    if (editor.core().HasSelection())
        FindEdit->setText(TextToQString(editor.core().SelectedText()).section(QLatin1Char('\r'), 0, 0));
}

FindOptions TWPFindDialog::options() const
{
    FindOptions options;
    options.backwards = UpButton->isChecked();
    options.matchCase = MatchCaseCheck->isChecked();
    options.wholeWord = WholeWordCheck->isChecked();
    return options;
}

bool TWPFindDialog::FindNextButtonClick()
{
    clearStatus();
    const std::string pattern = QStringToText(FindEdit->text());
    if (!editor_ || pattern.empty() || !editor_->core().FindNext(pattern, options())) {
        showNotFound();
        return false;
    }
    editor_->ensureCaretVisible();
    return true;
}

void TWPFindDialog::showNotFound()
{
    const bool german = editor_ && editor_->Language() == TWPToolLanguage::twpGerman;
    StatusLabel->setText(german ? QStringLiteral("Text nicht gefunden.") : QStringLiteral("Text not found."));
}

void TWPFindDialog::clearStatus()
{
    StatusLabel->clear();
}

} // namespace quillory
