// The spell-check dialog's layout and handlers; the dictionaries and suggestions are in
// app/spell.
#include "app/forms/Spellchk.h"

#include "app/forms/FormParts.h"
#include "app/spell/DictionaryPaths.h"
#include "platform/Error.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtText.h"
#include "richtext/qt/RichText.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaObject>
#include <QPushButton>
#include <QStyle>

#include <algorithm>

namespace quillory {

namespace {

QPushButton* AddButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph, const char* text, QRect place)
{
    auto* button = new QPushButton(parent->style()->standardIcon(glyph), QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* AddWordEdit(QWidget* parent, const char* name, const char* colour, QRect place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    QFont bold = parent->font();
    bold.setBold(true);
    edit->setFont(bold);
    edit->setStyleSheet(QStringLiteral("QLineEdit { color: %1; }").arg(QString::fromLatin1(colour)));
    edit->setGeometry(place);
    return edit;
}

} // namespace

TSpellCheckDialog::TSpellCheckDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("SpellCheckDialog"));
    setWindowTitle(tr("Spell Check"));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(406, 213);

    Label1 = AddLabel(this, "Label1", "Possible spelling error", {8, 8, 190, 16});
    Word = AddWordEdit(this, "Word", "red", {8, 26, 190, 24});
    Word->setReadOnly(true);
    Label2 = AddLabel(this, "Label2", "Replace with", {8, 60, 190, 16});
    ReplaceAs = AddWordEdit(this, "ReplaceAs", "blue", {8, 78, 190, 24});
    Label3 = AddLabel(this, "Label3", "Possible replacements", {208, 8, 190, 16});
    WordList = new QListWidget(this);
    WordList->setObjectName(QStringLiteral("WordList"));
    QFont listFont = font();
    listFont.setBold(true);
    WordList->setFont(listFont);
    WordList->setGeometry(208, 26, 190, 110);

    LabelFor(Label1, Word);
    LabelFor(Label2, ReplaceAs);
    LabelFor(Label3, WordList);

    GetNextWordButton = AddButton(this, "GetNextWordButton", QStyle::SP_ArrowForward, "&Skip Word", {8, 145, 92, 28});
    Replace = AddButton(this, "Replace", QStyle::SP_BrowserReload, "&Replace", {106, 145, 92, 28});
    Addbutton = AddButton(this, "Addbutton", QStyle::SP_FileDialogNewFolder, "Add", {208, 145, 92, 28});
    Cancel = AddButton(this, "Cancel", QStyle::SP_DialogCancelButton, "&Cancel", {306, 145, 92, 28});

    connect(GetNextWordButton, &QPushButton::clicked, this, [this] { GetNextWordButtonClick(); });
    connect(Replace, &QPushButton::clicked, this, [this] { ReplaceClick(); });
    connect(Addbutton, &QPushButton::clicked, this, [this] { AddbuttonClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { CancelClick(); });
    // A click picks a suggestion as a double-click does.
    connect(WordList, &QListWidget::itemClicked, this, [this] { WordListDblClick(); });
    connect(WordList, &QListWidget::itemDoubleClicked, this, [this] { WordListDblClick(); });

    LanguageLabel = new QLabel(tr("&Language"), this);
    LanguageLabel->setObjectName(QStringLiteral("LanguageLabel"));
    LanguageLabel->setGeometry(8, 184, 92, 20);
    Language = new QComboBox(this);
    Language->setObjectName(QStringLiteral("Language"));
    Language->setGeometry(106, 181, 292, 24);
    LanguageLabel->setBuddy(Language);
    const auto installed = spell::InstalledSpellLanguages();
    for (const spell::SpellLanguage* language : installed) {
        const QString name = QCoreApplication::translate("SpellLanguage", std::string(language->name).c_str());
        Language->addItem(name, QString::fromLatin1(language->code.data(), qsizetype(language->code.size())));
    }
    const spell::SpellLanguage* chosen = spell::ChooseSpellLanguage(
        spell::StoredSpellLanguage(), QLocale::system().name().toStdString(), installed);
    if (chosen)
        Language->setCurrentIndex(int(std::find(installed.begin(), installed.end(), chosen) - installed.begin()));
    Language->setEnabled(installed.size() > 1);

    // FormCreate: the dictionaries.
    SpellEngine1.OpenDictionary(spell::MainDictionaryPath(chosen ? chosen->code : spell::kDefaultSpellLanguage));
    const std::string user = spell::UserDictionaryPath();
    UserDictionaryNumber = QFile::exists(QString::fromStdString(user)) ? SpellEngine1.OpenUserDictionary(user)
                                                                        : SpellEngine1.CreateUserDictionary(user, {});
    Addbutton->setEnabled(UserDictionaryNumber != -1);
    FirstActivation = true;
    // Connected once the choice above is made, which is no change of the user's.
    connect(Language, &QComboBox::currentIndexChanged, this, [this] { LanguageChange(); });
}

// A modal run ends as soon as the dialog hides, which may be before its closing request is
// handled: the selection and the dictionaries are let go here at the latest.
TSpellCheckDialog::~TSpellCheckDialog()
{
    FormClose();
}

void TSpellCheckDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FirstActivation)
        QMetaObject::invokeMethod(this, &TSpellCheckDialog::FormActivate, Qt::QueuedConnection);
}

void TSpellCheckDialog::FormActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    restartWalk_ = true;
    CheckNextWord();
}

void TSpellCheckDialog::CheckNextWord()
{
    if (!editor_ || closed_)
        return;
    WordList->clear();
    // The walk stops only at unknown words; a word of a script the dictionary does not spell
    // counts as correct: it is passed by.
    const QString unknown = editor_->NextWord(
        restartWalk_, [this](std::string_view word) { return !SpellEngine1.IsWordCorrect(word); });
    restartWalk_ = false;
    if (!unknown.isEmpty()) {  // NextWord has selected it and scrolled it into view
        for (const std::string& suggestion : SpellEngine1.GetSuggestions(QStringToText(unknown)))
            WordList->addItem(TextToQString(suggestion));
    }
    Word->setText(unknown);
    ReplaceAs->setText(WordList->count() > 0 ? WordList->item(0)->text() : unknown);
    if (unknown.isEmpty()) {
        hide();
        ShowInformation(tr("Spell check complete"));
        // Closed from the event loop, as the dialog's own message once did, so that a modal
        // run that is only starting still ends. (A hidden dialog ignores close(): reject.)
        QMetaObject::invokeMethod(this, [this] { reject(); }, Qt::QueuedConnection);
    }
}

void TSpellCheckDialog::LanguageChange()
{
    const std::string code = Language->currentData().toString().toStdString();
    if (code.empty())
        return;
    try {
        spell::StoreSpellLanguage(code);
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), windowTitle(), MessageButtons::Ok);
    }
    SpellEngine1.ReplaceMainDictionary(spell::MainDictionaryPath(code));
    if (FirstActivation)
        return;  // the walk has not begun: it will start with this language
    restartWalk_ = true;
    CheckNextWord();
}

void TSpellCheckDialog::ReplaceClick()
{
    if (!editor_)
        return;
    if (editor_->ReplaceSelection(ReplaceAs->text()))
        editor_->Changed();  // as typing does: the entry has unsaved changes
    CheckNextWord();
    editor_->viewport()->update();
}

void TSpellCheckDialog::AddbuttonClick()
{
    if (!Word->text().isEmpty())
        SpellEngine1.AddWord(QStringToText(Word->text()), UserDictionaryNumber);
    CheckNextWord();
}

void TSpellCheckDialog::WordListDblClick()
{
    if (QListWidgetItem* item = WordList->currentItem())
        ReplaceAs->setText(item->text());
}

void TSpellCheckDialog::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TSpellCheckDialog::FormClose()
{
    if (closed_)
        return;
    closed_ = true;
    if (editor_) {
        editor_->SelStart(0);
        editor_->SelLength(0);
    }
    SpellEngine1.CloseDictionaries();
}

void RunSpellCheck(TWPRichText* editor, QWidget* parent)
{
    TSpellCheckDialog dialog(parent);
    dialog.SetEditor(editor);
    CenterForm(dialog);
    RunModal(dialog);
}

} // namespace quillory
