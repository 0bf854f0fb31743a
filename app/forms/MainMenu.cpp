// TMainScreen: the menu bar with its shortcuts, and the editing commands behind it.
#include "app/forms/Main.h"

#include "app/DateTexts.h"
#include "app/DiarySecurity.h"
#include "app/MainLayout.h"
#include "app/forms/AutoBackups.h"
#include "app/forms/DefaultFont.h"
#include "app/forms/Getpass.h"
#include "app/forms/Splash.h"
#include "platform/Clock.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/qt/RichText.h"

#include <QCoreApplication>
#include <QFontDialog>
#include <QLocale>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTime>
#include <QToolButton>

#include <type_traits>

namespace quillory {

void TMainScreen::CreateMenu()
{
    // Window-wide shortcuts act only while this window is the active one, so Ctrl+S and Ctrl+A
    // never reach into another window; that is all the application key hook ever had to do.
    const auto item = [this](QMenu* menu, const QString& caption, const QKeySequence& shortcut, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>)
            connect(action, &QAction::triggered, this, handler);
        else
            action->setEnabled(false);  // its feature comes with a later window
        return action;
    };
    const QKeySequence none;

    QMenu* file = menuBar()->addMenu(tr("&File"));
    mnuSecurity = item(file, tr("Select or Change Password"), none, &TMainScreen::mnuSecurityClick);
    CreateDiaryFolderItem(file);
    file->addSeparator();
    PrintSetup1 = item(file, tr("Print Setup"), none, &TMainScreen::PrintSetup1Click);
    PrintNow = item(file, tr("Print"), QKeySequence(Qt::CTRL | Qt::Key_P), &TMainScreen::PrintNowClick);
    file->addSeparator();
    Export1 = item(file, tr("Export to RTF (Rich Text Format)"), none, &TMainScreen::Export1Click);
    file->addSeparator();
    BackUpDiary1 = item(file, tr("Back Up Diary..."), none, &TMainScreen::BackUpDiary1Click);
    RestoreDiary1 = item(file, tr("Restore Diary..."), none, &TMainScreen::RestoreDiary1Click);
    AutoBackups1 = item(file, tr("Automatic Backups..."), none, &TMainScreen::AutoBackups1Click);
    ImportDiary1 = item(file, tr("Import from Another Diary..."), none, &TMainScreen::ImportDiary1Click);
    file->addSeparator();
    exit1 = item(file, tr("E&xit"), none, &TMainScreen::exit1Click);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    Cut1 = item(edit, tr("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), &TMainScreen::Cut1Click);
    Copy1 = item(edit, tr("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), &TMainScreen::Copy1Click);
    Paste1 = item(edit, tr("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V), &TMainScreen::Paste1Click);
    DeleteSelection1 = item(edit, tr("Delete Selection"), none, &TMainScreen::DeleteSelection1Click);
    SelectAll1 = item(edit, tr("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A), &TMainScreen::SelectAll1Click);
    edit->addSeparator();
    SaveChanges1 = item(edit, tr("Save Changes"), QKeySequence(Qt::CTRL | Qt::Key_S),
                        &TMainScreen::SaveChanges1Click);
    {
        // The desktop's Save key too, where it is another.
        QList<QKeySequence> keys = SaveChanges1->shortcuts();
        for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Save)) {
            if (!keys.contains(key))
                keys.append(key);
        }
        SaveChanges1->setShortcuts(keys);
    }
    DeleteEntry1 = item(edit, tr("Delete Entry"), QKeySequence(Qt::ALT | Qt::Key_D),
                        &TMainScreen::DeleteEntry1Click);
    edit->addSeparator();
    SpellCheck1 = item(edit, tr("&Spell Check"), QKeySequence(Qt::ALT | Qt::Key_S),
                       &TMainScreen::SpellCheck1Click);
    edit->addSeparator();
    EnterDate1 = item(edit, tr("Insert Today's &Date "), QKeySequence(Qt::CTRL | Qt::Key_D),
                      &TMainScreen::EnterDate1Click);
    InsertTodaystime1 = item(edit, tr("Insert Current Time"), QKeySequence(Qt::CTRL | Qt::Key_T),
                             &TMainScreen::InsertTodaystime1Click);
    edit->addSeparator();
    mnuWrapTexttofitScreen = edit->addAction(tr("&Wrap Text to fit Screen"));
    mnuWrapTexttofitScreen->setCheckable(true);
    mnuWrapTexttofitScreen->setChecked(true);  // every run starts wrapping; it is not stored
    connect(mnuWrapTexttofitScreen, &QAction::toggled, this, [this](bool wrap) {
        WPRichText1->SetWordWrap(wrap);
        WPRichText1->viewport()->update();
    });
    mnuDarkPage = edit->addAction(tr("Dark Page"));
    mnuDarkPage->setCheckable(true);
    connect(mnuDarkPage, &QAction::triggered, this, [this](bool dark) {
        Settings.DarkPage = dark;
        SavePreferencesShowingErrors();
        ApplyPageColours();
    });
    mnuDefaultFont = item(edit, tr("Change Default Font"), none, &TMainScreen::mnuDefaultFontClick);
    CreateEditingActions(edit, Cut1);

    QMenu* find = menuBar()->addMenu(tr("F&ind"));
    mnuFind = item(find, tr("&Find in Current Entry"), QKeySequence(Qt::CTRL | Qt::Key_F),
                   &TMainScreen::mnuFindClick);
    Replace1 = item(find, tr("&Replace in Current Entry"), QKeySequence(Qt::CTRL | Qt::Key_R),
                    &TMainScreen::Replace1Click);
    find->addSeparator();
    mnuFindentrycontaining = item(find, tr("Find Any Entry Containing..."),
                                  QKeySequence(Qt::CTRL | Qt::Key_F4), &TMainScreen::mnuFindentrycontainingClick);
    mnuFindNextBig = item(find, tr("Find Next Entry Containing..."), QKeySequence(Qt::CTRL | Qt::Key_F5),
                          &TMainScreen::mnuFindNextBigClick);
    mnuFindNextBig->setEnabled(false);  // until a search has found something
    mnuFindAll = item(find, tr("Find All Entries Containing..."), QKeySequence(Qt::CTRL | Qt::Key_F6),
                      &TMainScreen::mnuFindAllClick);
    find->addSeparator();
    mnuSearchEntries = item(find, tr("&Search Entries"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F),
                            &TMainScreen::mnuSearchEntriesClick);
    mnuOnThisDay = item(find, tr("&On This Day..."), none, &TMainScreen::mnuOnThisDayClick);
    mnuTags = item(find, tr("&Tags..."), none, &TMainScreen::mnuTagsClick);
    mnuStatistics = item(find, tr("Stat&istics..."), none, &TMainScreen::mnuStatisticsClick);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    Contents1 = item(help, tr("Contents"), QKeySequence(QKeySequence::HelpContents),
                     &TMainScreen::Contents1Click);
    help->addSeparator();
    About1 = item(help, tr("About"), none, &TMainScreen::About1Click);
}

void TMainScreen::mnuSecurityClick()
{
    const DiarySecurity before = LoadDiarySecurity();
    AutoBackups->Wait();  // a backup being written must not see the entries half re-keyed
    ChangeDiaryPassword(*this, [this] { return SaveButtonClick(); }, this);
    // Re-keyed, the day's file has new bytes: the page (saved before the change) is loaded
    // again, or its next save would take them for a change made on another computer.
    if (!(LoadDiarySecurity() == before) && SaveButton->isHidden() && !pageUnreadable_)
        LoadRichText();
    if (!(LoadDiarySecurity() == before))
        StartIndexing();  // a build under way read with the old key
}

void TMainScreen::PrintSetup1Click()
{
    if (!SaveButtonClick())
        return;
    if (InstalledPrinterNames().isEmpty()) {
        ShowInformation(tr("No printers installed"));
        return;
    }
    // The choice holds for every printing after it, until the program ends.
    QPrintDialog dialog(&KeptPrinter(), this);
    dialog.setWindowTitle(tr("Print Setup"));
    RunModal(dialog);
}

void TMainScreen::Cut1Click()
{
    if (WPRichText1->SelLength() == 0)
        return;
    WPRichText1->CutToClipboard();
    WPRichText1->Changed();
}

void TMainScreen::Copy1Click()
{
    if (WPRichText1->SelLength() == 0)
        return;
    WPRichText1->CopyToClipboard();
    WPRichText1->Changed();
}

void TMainScreen::Paste1Click()
{
    WPRichText1->PasteFromClipboard();
    WPRichText1->Changed();
}

void TMainScreen::DeleteSelection1Click()
{
    if (WPRichText1->SelLength() == 0)
        return;
    WPRichText1->DeleteSelection();
    WPRichText1->Changed();
}

void TMainScreen::SelectAll1Click()
{
    WPRichText1->SelectAll();
}

void TMainScreen::EnterDate1Click()
{
    WPRichText1->InsertText(QString::fromStdString(ShortDateText(Today(), LocaleDateSeparator()) + " "));
    WPRichText1->repaint();
}

void TMainScreen::InsertTodaystime1Click()
{
    const LocalTime now = Now();
    // The locale's short time is hours and minutes; a format that adds seconds loses them.
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    format.remove(QRegularExpression(QStringLiteral("[:.]ss")));
    const QString time = QLocale().toString(QTime(now.hour, now.minute, now.second), format);
    WPRichText1->InsertText(time + QLatin1Char(' '));
    WPRichText1->repaint();
}

void TMainScreen::DocPageBreakButtonClick()
{
    ParagraphDescriptor descriptor;
    descriptor.attr = WPRichText1->GetCurrentAttr();
    descriptor.pageBreakBefore = true;
    WPRichText1->InsertParagraph(descriptor);
    WPRichText1->Changed();
    WPRichText1->ReformatAndRepaint();
}

void TMainScreen::mnuWrapTexttofitScreenClick()
{
    mnuWrapTexttofitScreen->toggle();
}

void TMainScreen::DocWordWrapButtonClick()
{
    mnuWrapTexttofitScreenClick();
    DocWordWrapButton->setToolTip(
        QCoreApplication::translate("MainScreen", WordWrapHint(mnuWrapTexttofitScreen->isChecked()).data()));
}

void TMainScreen::mnuDefaultFontClick()
{
    LoadPreferences();  // the dialog shows the stored font
    const int stored = Settings.DefaultFontColor;
    TDefaultFontDialog dialog(DefaultFont, QColor(stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF), this);
    if (RunModal(dialog) != QDialog::Accepted)
        return;
    // The page on screen keeps its attributes; the next empty day starts in the new font.
    DefaultFont = dialog.selectedFont();
    const QColor color = dialog.selectedColor();
    Settings.DefaultFontColor = color.red() | (color.green() << 8) | (color.blue() << 16);
    SavePreferencesShowingErrors();
}

void TMainScreen::mnuFindClick()
{
    WPRichText1->FindDialog();
}

void TMainScreen::Replace1Click()
{
    WPRichText1->ReplaceDialog();
    WPRichText1->Changed();
}

void TMainScreen::About1Click()
{
    ShowAboutBox(this);
}

} // namespace quillory
