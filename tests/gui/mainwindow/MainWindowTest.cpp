// The main window driven as a person would: keys into the editor, clicks on its buttons and
// menus, message boxes and dialogs answered by script, and the entry files checked on disk.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/Crypt.h"
#include "app/DiarySecurity.h"
#include "app/EntryFiles.h"
#include "app/forms/Getpass.h"
#include "app/forms/Openmess.h"
#include "app/forms/Warn.h"
#include "controls/Ring.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/FindDialog.h"
#include "richtext/qt/Ruler.h"
#include "richtext/qt/ToolBar.h"
#include "richtext/tools/Messages.h"
#include "richtext/tools/ToolBarTable.h"
#include "platform/qt/DesktopIconTheme.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kToday = *Day::FromDate(2026, 12, 6);  // a Sunday

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    // Creates the window and runs its first activation, as the start does.
    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->WPRichText1->setFocus();
        return window;
    }

    fs::path EntryPath(Day day) const { return fs::path(GetCurrentDateFileName(day)); }
    bool HasEntry(Day day) const { return fs::exists(EntryPath(day)); }
    std::string EntryBytes(Day day) const { return folder.read("Entries/" + DayKey(day) + ".QLE"); }
    void WriteRtfEntry(Day day, std::string_view text, std::string_view password = {}) const
    {
        fs::create_directories(folder.path() / "Entries");
        WriteEntry(day, "{\\rtf1\\ansi " + std::string(text) + "}", password);
    }
    static std::string Text(const TMainScreen& window) { return DumpText(window.WPRichText1->RtfText()); }
    static bool Changed(const TMainScreen& window)
    {
        EXPECT_EQ(window.SaveButton->isHidden(), window.CancelButton->isHidden());
        return !window.SaveButton->isHidden();
    }
    static void Type(TMainScreen& window, const char* text) { QTest::keyClicks(window.WPRichText1, text); }
    static void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(MainWindowTest, DayWithoutEntryIsEmptyUntilTypedThenSaveWritesIt)
{
    auto window = Open();
    EXPECT_EQ(window->DateLabel->text(), QStringLiteral("Sunday, December 6, 2026"));
    EXPECT_TRUE(window->WPRichText1->IsEmpty());
    EXPECT_FALSE(window->EntryExists);
    EXPECT_FALSE(Changed(*window));
    // The default font is the insertion attribute of the empty page.
    EXPECT_EQ(window->WPRichText1->GetCurrentAttr().size, 10);

    Type(*window, "Dear diary");
    EXPECT_TRUE(Changed(*window));
    EXPECT_FALSE(HasEntry(kToday));

    Click(window->SaveButton);
    EXPECT_FALSE(Changed(*window));
    EXPECT_TRUE(window->EntryExists);
    const std::string stored = EntryBytes(kToday);
    EXPECT_EQ(stored.rfind("{\\rtf", 0), 0u) << stored;
    EXPECT_NE(stored.find("Dear diary"), std::string::npos) << stored;
    EXPECT_NE(stored.find("\\plain\\f0\\fs20"), std::string::npos) << stored;  // the default 10 pt

    // A second window finds it again.
    window.reset();
    auto again = Open();
    EXPECT_EQ(Text(*again), "Dear diary\n");
    EXPECT_FALSE(Changed(*again));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(MainWindowTest, SavingAnEmptiedEntryDeletesItsFileAndAnEmptyNewPageWritesNothing)
{
    WriteRtfEntry(kToday, "Gone soon");
    auto window = Open();
    EXPECT_EQ(Text(*window), "Gone soon\n");
    window->SelectAll1->trigger();
    QTest::keyClick(window->WPRichText1, Qt::Key_Delete);
    EXPECT_TRUE(window->WPRichText1->IsEmpty());
    window->SaveChanges1->trigger();
    EXPECT_FALSE(HasEntry(kToday));
    EXPECT_FALSE(window->EntryExists);

    // Save shown on an empty page of a day without a file: nothing to write.
    window->WPRichText1->Changed();
    EXPECT_TRUE(window->SaveButtonClick());
    EXPECT_FALSE(HasEntry(kToday));
    EXPECT_TRUE(fs::is_empty(folder.path() / "Entries"));
}

TEST_F(MainWindowTest, DeleteAsksThenCancelBringsTheTextBackAndNextRemovesTheFile)
{
    WriteRtfEntry(kToday, "Keep me");
    const std::string before = EntryBytes(kToday);
    auto window = Open();

    boxes.Answer(MessageResult::No);
    Click(window->Deletebutton);
    EXPECT_EQ(Text(*window), "Keep me\n");
    EXPECT_FALSE(Changed(*window));

    boxes.Answer(MessageResult::Yes);
    Click(window->Deletebutton);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, QStringLiteral("Delete this entry?"));
    EXPECT_EQ(boxes.Shown()[1].caption, QStringLiteral("Confirm"));
    EXPECT_TRUE(window->WPRichText1->IsEmpty());
    EXPECT_TRUE(Changed(*window));
    EXPECT_EQ(EntryBytes(kToday), before);  // the file waits for the save

    Click(window->CancelButton);
    EXPECT_EQ(Text(*window), "Keep me\n");
    EXPECT_FALSE(Changed(*window));
    EXPECT_EQ(EntryBytes(kToday), before);

    window->DeleteEntry1->trigger();  // Alt+D: the same command
    Click(window->Nextbutton);
    EXPECT_FALSE(HasEntry(kToday));
    EXPECT_EQ(window->CurrentDay, kToday + 1);
    EXPECT_EQ(window->DateLabel->text(), QStringLiteral("Monday, December 7, 2026"));
}

TEST_F(MainWindowTest, NavigationSavesFirstAndCtrlPageKeysStepOneDay)
{
    WriteRtfEntry(kToday - 30, "First");
    WriteRtfEntry(kToday + 3, "Last");
    auto window = Open();
    Type(*window, "Today's words");

    QTest::keyClick(window->WPRichText1, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(window->CurrentDay, kToday + 1);
    EXPECT_NE(EntryBytes(kToday).find("Today's words"), std::string::npos);

    // Ctrl must be the only modifier held.
    QTest::keyClick(window->WPRichText1, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->CurrentDay, kToday + 1);
    QTest::keyClick(window->WPRichText1, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_EQ(Text(*window), "Today's words\n");

    Click(window->FirstButton);
    EXPECT_EQ(window->CurrentDay, kToday - 30);
    EXPECT_EQ(Text(*window), "First\n");
    Click(window->LastButton);
    EXPECT_EQ(window->CurrentDay, kToday + 3);
    Click(window->PriorButton);
    EXPECT_EQ(window->CurrentDay, kToday + 2);
    EXPECT_TRUE(window->WPRichText1->IsEmpty());
    Click(window->BitBtn1);
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_FALSE(Changed(*window));
}

TEST_F(MainWindowTest, CtrlSSavesOnlyInTheActiveMainWindow)
{
    auto window = Open();
    Type(*window, "Unsaved");

    QWidget other;
    auto* field = new QLineEdit(&other);
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(HasEntry(kToday));
    EXPECT_TRUE(Changed(*window));
    EXPECT_EQ(field->text(), QString());  // passed on to the field, which has no use for it

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->WPRichText1->setFocus();
    QTest::keyClick(window->WPRichText1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(HasEntry(kToday));
    EXPECT_FALSE(Changed(*window));
}

// Every key the window claims: the menu's shortcuts, the menu bar's mnemonics and the buttons'
// mnemonics, hidden buttons included (Save shows as soon as the page changes). A key claimed
// twice does nothing at all: Alt+S was Spell Check's and "&Save"'s, Alt+I "F&ind"'s and "H&ide"'s.
TEST_F(MainWindowTest, EveryShortcutAndMnemonicOfTheWindowIsClaimedOnce)
{
    auto window = Open();
    std::map<QString, QStringList> owners;  // key -> what claims it
    const auto claim = [&](const QKeySequence& key, const QString& owner) {
        if (!key.isEmpty())
            owners[key.toString()].append(owner);
    };
    for (QAction* action : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : action->shortcuts())
            claim(key, QStringLiteral("menu item \"%1\"").arg(action->text()));
    }
    for (QAction* title : window->menuBar()->actions())
        claim(QKeySequence::mnemonic(title->text()), QStringLiteral("menu \"%1\"").arg(title->text()));
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() == window.get())
            claim(QKeySequence::mnemonic(button->text()), QStringLiteral("button \"%1\"").arg(button->text()));
    }
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy())
            claim(QKeySequence::mnemonic(label->text()), QStringLiteral("label \"%1\"").arg(label->text()));
    }
    ASSERT_GE(owners.size(), 20u);  // the listing sees the window's keys
    for (const auto& [key, claimants] : owners)
        EXPECT_EQ(claimants.size(), 1) << key.toStdString() << ": " << claimants.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(owners.at(QStringLiteral("Alt+S")), QStringList{QStringLiteral("menu item \"&Spell Check\"")});
    EXPECT_EQ(owners.at(QStringLiteral("Ctrl+S")), QStringList{QStringLiteral("menu item \"Save Changes\"")});
    EXPECT_TRUE(window->SaveButton->toolTip().contains(QStringLiteral("Ctrl+S")));
}

// Once the page has changed the Save button shows; Alt+S still opens the spelling dialog.
TEST_F(MainWindowTest, AltSChecksTheSpellingWhileSaveIsShown)
{
    auto window = Open();
    Type(*window, "Changed");
    ASSERT_TRUE(Changed(*window));
    ModalScript script;
    script.Then([](QDialog&) { return int(QDialog::Rejected); });
    QTest::keyClick(window->WPRichText1, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(script.Ran(), std::vector<QString>{QStringLiteral("quillory::TSpellCheckDialog")});
    EXPECT_FALSE(HasEntry(kToday));  // nor did it save
}

TEST_F(MainWindowTest, KeysThatAlwaysCountAsAChange)
{
    WriteRtfEntry(kToday, "Text");
    auto window = Open();
    struct Case { Qt::Key key; Qt::KeyboardModifiers modifiers; bool change; };
    const Case cases[] = {
        {Qt::Key_Delete, Qt::NoModifier, true},       // at the end: deletes nothing, still a change
        {Qt::Key_Tab, Qt::ShiftModifier, true},
        {Qt::Key_V, Qt::ControlModifier, true},       // even with nothing to paste
        {Qt::Key_End, Qt::ControlModifier, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        window->CancelButtonClick();
        window->WPRichText1->GoTo(4);
        QTest::keyClick(window->WPRichText1, c.key, c.modifiers);
        EXPECT_EQ(Changed(*window), c.change);
    }
}

TEST_F(MainWindowTest, ResizePutsTheCaretAtTheStartAndLaysThePageOut)
{
    auto window = Open();
    Type(*window, "Some words to move past");
    EXPECT_GT(window->WPRichText1->CaretPosition(), 0);
    window->resize(window->width() + 40, window->height() + 30);
    QApplication::processEvents();
    EXPECT_EQ(window->WPRichText1->CaretPosition(), 0);
    const int pageWidth = window->RingPanel1->width();
    EXPECT_EQ(window->WPRichText1->x(), window->RingPanel1->LeftEdge() + 15);
    EXPECT_EQ(window->WPRichText1->width(), pageWidth - window->RingPanel1->LeftEdge() - window->RingPanel1->RightEdge() - 20);
    EXPECT_EQ(window->Bottomline->y(), window->RingPanel1->height() - 20);
}

TEST_F(MainWindowTest, AFailedSaveKeepsTheTextTheDayAndTheButtons)
{
    auto window = Open();
    // A folder where the entry file belongs: the file cannot be written.
    fs::create_directories(EntryPath(kToday));
    Type(*window, "Precious");
    Click(window->Nextbutton);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("Cannot create file "))) << boxes.Shown()[0].text.toStdString();
    EXPECT_EQ(window->CurrentDay, kToday);
    EXPECT_EQ(Text(*window), "Precious\n");
    EXPECT_TRUE(Changed(*window));

    // Closing would lose the text: the window stays.
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());

    fs::remove(EntryPath(kToday));
    EXPECT_TRUE(window->close());
    EXPECT_NE(EntryBytes(kToday).find("Precious"), std::string::npos);
}

// Before the mend each of these showed Save on the read-only page of an unreadable entry, and
// the next day change "saved" the empty page: the entry file was deleted.
TEST_F(MainWindowTest, AnEntryThatCannotBeReadIsNeverWrittenOrDeleted)
{
    // A file that opens but fails to read (the memory of a process at address 0).
    fs::create_directories(folder.path() / "Entries");
    fs::create_symlink("/proc/self/mem", EntryPath(kToday));
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    auto window = Open();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QString::fromStdString("Cannot open file " + EntryPath(kToday).string()));
    EXPECT_FALSE(window->Deletebutton->isEnabled());
    EXPECT_FALSE(window->DeleteEntry1->isEnabled());

    TMainScreen& w = *window;
    QWidget* editor = w.WPRichText1;
    const auto key = [editor](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [=] { QTest::keyClick(editor, k, m); };
    };
    const std::pair<const char*, std::function<void()>> paths[] = {
        {"typing", [&] { Type(w, "Typed over it"); }},
        {"Tab", key(Qt::Key_Tab)},
        {"Shift+Tab", key(Qt::Key_Backtab, Qt::ShiftModifier)},
        {"Delete", key(Qt::Key_Delete)},
        {"Backspace", key(Qt::Key_Backspace)},
        {"Enter", key(Qt::Key_Return)},
        {"Ctrl+V", key(Qt::Key_V, Qt::ControlModifier)},
        {"Ctrl+D", key(Qt::Key_D, Qt::ControlModifier)},
        {"Ctrl+T", key(Qt::Key_T, Qt::ControlModifier)},
        {"menu Paste", [&] { w.Paste1->trigger(); }},
        {"menu Cut", [&] { w.SelectAll1->trigger(); w.Cut1->trigger(); }},
        {"menu Delete Selection", [&] { w.SelectAll1->trigger(); w.DeleteSelection1->trigger(); }},
        {"menu Replace", [&] { w.Replace1->trigger(); }},
        {"menu Delete Entry", [&] { boxes.Answer(MessageResult::Yes); w.DeleteEntry1Click(); }},
        {"ruler click", [&] { QTest::mouseClick(w.WPRuler1, Qt::LeftButton, {}, QPoint(60, w.WPRuler1->height() - 4)); }},
        {"toolbar Bold", [&] { Click(w.WPToolBar2->IconButton(ToolIconId::SelBold)); }},
        {"toolbar Center", [&] { Click(w.WPToolBar2->IconButton(ToolIconId::SelCenter)); }},
        {"toolbar Paste", [&] { Click(w.WPToolBar2->IconButton(ToolIconId::SelPaste)); }},
        {"toolbar font size", [&] { w.WPToolBar2->ListBox(ToolListId::SelFontSize)->setCurrentIndex(3); }},
        {"page break button", [&] { Click(w.DocPageBreakButton); }},
        {"Delete button", [&] { boxes.Answer(MessageResult::Yes); w.DeletebuttonClick(); }},
    };
    for (const auto& [name, act] : paths) {
        SCOPED_TRACE(name);
        act();
        EXPECT_TRUE(w.WPRichText1->IsEmpty());
        EXPECT_FALSE(Changed(w));
    }
    // Whatever shows Save, saving leaves the file alone.
    w.SaveButton->show();
    w.CancelButton->show();
    EXPECT_TRUE(w.SaveButtonClick());
    QTest::keyClick(editor, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(w.CurrentDay, kToday + 1);
    ASSERT_TRUE(fs::is_symlink(EntryPath(kToday)));
    EXPECT_EQ(fs::read_symlink(EntryPath(kToday)), fs::path("/proc/self/mem"));

    // The next day is an ordinary page again.
    EXPECT_TRUE(w.Deletebutton->isEnabled());
    Type(w, "Tomorrow");
    EXPECT_EQ(Text(w), "Tomorrow\n");
    EXPECT_TRUE(Changed(w));
    EXPECT_EQ(boxes.Shown().size(), 1u);  // the read error alone
}

// Re-keying after a failed save left the unsaved text to be written later under a password
// the files no longer had; the command now stops at the failed save.
TEST_F(MainWindowTest, PasswordChangeStopsWhenTheEntryCannotBeSaved)
{
    auto window = Open();
    fs::create_directories(EntryPath(kToday));  // a folder where the entry file belongs
    Type(*window, "Unsaved");
    ModalScript script;
    script.Then<TWarningScreen>([](TWarningScreen& warning) {
        warning.OKButton->click();
        return ModalScript::kKeepResult;
    });
    window->mnuSecurity->trigger();
    EXPECT_EQ(script.Ran(), std::vector<QString>{"quillory::TWarningScreen"});  // no password dialog
    EXPECT_TRUE(script.Unexpected().empty());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("Cannot create file ")));
    EXPECT_EQ(window->DiaryPassword(), "");
    EXPECT_TRUE(Changed(*window));
    fs::remove(EntryPath(kToday));
}

TEST_F(MainWindowTest, AStrongEntryThatFailsAuthenticationIsNamedShownReadOnlyAndNeverWritten)
{
    // A strong diary, unlocked as the opening gate does it.
    const NewStrongDiary made = MakeStrongDiary("Str0ng", {1, 8192});
    IniFile settings(folder.path() / "QL.INI");
    WriteDiarySecurity(settings, made.security);
    settings.UpdateFile();
    RememberSessionKey("Str0ng", made.key);
    fs::create_directories(folder.path() / "Entries");
    WriteEntry(kToday - 1, "{\\rtf1\\ansi Yesterday}", made.key);
    // Yesterday's sealed file copied over today's: it must not open as today's.
    fs::copy_file(EntryPath(kToday - 1), EntryPath(kToday));
    const std::string moved = EntryBytes(kToday);

    auto window = Open();
    EXPECT_EQ(window->DiaryPassword(), "Str0ng");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              QString::fromStdString(EntryPath(kToday).string() + " is damaged or was changed outside Quillory"));
    Type(*window, "Typed over it");
    EXPECT_TRUE(window->WPRichText1->IsEmpty());
    EXPECT_FALSE(Changed(*window));

    Click(window->PriorButton);  // the other days keep working
    EXPECT_EQ(Text(*window), "Yesterday\n");
    Type(*window, "!");
    Click(window->Nextbutton);
    EXPECT_TRUE(strong::LooksSealed(EntryBytes(kToday - 1)));
    EXPECT_NE(ReadEntry(kToday - 1, made.key).find("!Yesterday"), std::string::npos);
    EXPECT_EQ(EntryBytes(kToday), moved);
    window.reset();
    ForgetSessionKey();
}

TEST_F(MainWindowTest, FirstStartShowsTheNoticeAndTheSettingsAreWrittenAtActivationAndClose)
{
    fs::remove(folder.path() / "QL.INI");
    ModalScript script;
    script.Then<TShowOpeningMessage>([](TShowOpeningMessage& notice) {
        notice.DontShow->setChecked(true);
        notice.OKButtonClick();
        return ModalScript::kKeepResult;
    });
    auto window = std::make_unique<TMainScreen>();
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(fs::is_directory(folder.path() / "Entries"));
    // Placement is stored when it is restored (centred: nothing was stored).
    IniFile afterCreate(folder.path() / "QL.INI");
    EXPECT_NE(afterCreate.ReadString("TMainScreen_Placement", "Bottom", ""), "");

    window->FormActivate();
    IniFile afterActivation(folder.path() / "QL.INI");
    EXPECT_EQ(afterActivation.ReadString("Opening Screen", "show", ""), "0");
    EXPECT_EQ(afterActivation.ReadString("Default Font", "Name", ""), "Arial");

    window->move(40, 50);
    window->close();
    IniFile afterClose(folder.path() / "QL.INI");
    EXPECT_EQ(afterClose.ReadString("TMainScreen_Placement", "Left", ""), "40");
    EXPECT_EQ(afterClose.ReadString("TMainScreen_Placement", "Top", ""), "50");
    EXPECT_EQ(afterClose.ReadString("TMainScreen_Placement", "Maximized", ""), "0");
}

TEST_F(MainWindowTest, MinimizedStartStaysMinimized)
{
    TMainScreen window(StartShowState::Minimized);
    window.FormActivate();
    EXPECT_TRUE(window.isMinimized());
    window.FormActivate();  // later activations do nothing
    EXPECT_TRUE(window.isMinimized());
}

TEST_F(MainWindowTest, CommandsAreReadyAtStartButFindNextAndThePaletteToggle)
{
    auto window = Open();
    for (QAction* later : {window->mnuFindNextBig})
        EXPECT_FALSE(later->isEnabled()) << later->text().toStdString();
    for (QAbstractButton* later : std::initializer_list<QAbstractButton*>{
             window->ShowHideIconTool})
        EXPECT_FALSE(later->isEnabled()) << later->objectName().toStdString();
    for (QAbstractButton* ready : std::initializer_list<QAbstractButton*>{
             window->PasteGraphicButton, window->SymbolSelectorButton, window->ParagraphSetupButton})
        EXPECT_TRUE(ready->isEnabled()) << ready->objectName().toStdString();
    EXPECT_TRUE(window->mnuSecurity->isEnabled());
    for (QAction* ready : {window->PrintNow, window->Export1, window->mnuFindentrycontaining})
        EXPECT_TRUE(ready->isEnabled()) << ready->text().toStdString();
    EXPECT_TRUE(window->Printbutton->isEnabled());
    EXPECT_TRUE(window->CalendarButton->isEnabled());
    EXPECT_EQ(window->SaveChanges1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(window->DeleteEntry1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_D));
}

// The window once set its editor to German: "Schwarz" and "Weiß" in the colour lists,
// "Textfarbe" as a hint, "Tabulatoren löschen" from the ruler, "Text nicht gefunden." from the
// find dialog. Every text the window shows is gathered and none may be a German text of the
// engine's tables.
TEST_F(MainWindowTest, NoGermanTextReachesTheWindow)
{
    auto window = Open();
    EXPECT_EQ(window->WPRichText1->Language(), TWPToolLanguage::twpEnglish);

    const auto utf8 = [](std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); };
    QSet<QString> german{QStringLiteral("Keine"), QStringLiteral("Text nicht gefunden.")};
    for (const ToolIconInfo& info : ToolIcons())
        german.insert(utf8(info.german));
    for (const ToolListInfo& info : ToolLists())
        german.insert(utf8(info.german));
    for (int i = 0; i < 15; ++i)
        german.insert(utf8(ColorName(i, true)));
    for (int number = WPMsg::FileFilter; number <= WPMsg::DeleteAllTabs; ++number)
        german.insert(utf8(WPMessage(number, MessageLanguage::German)));
    // Words both languages share are no sign of German.
    for (const ToolIconInfo& info : ToolIcons())
        german.remove(utf8(info.english));
    for (int i = 0; i < 15; ++i)
        german.remove(utf8(ColorName(i, false)));

    // The find dialog's answer and the ruler's question (double click on a tab stop).
    Type(*window, "tabbed");
    TWPRuler& ruler = *window->WPRuler1;
    QTest::mouseClick(&ruler, Qt::LeftButton, {}, QPoint(ruler.XOfTwips(1440), ruler.height() - 3));
    ASSERT_EQ(ruler.Paragraph().tabs.size(), 1u);
    boxes.Answer(MessageResult::No);
    QTest::mouseDClick(&ruler, Qt::LeftButton, {}, QPoint(5, 3));
    ASSERT_EQ(boxes.Shown().size(), 1u) << "tabs: " << ruler.Paragraph().tabs.size();
    TWPFindDialog* find = TWPFindDialog::Shared(*window->WPRichText1);
    find->FindEdit->setText(QStringLiteral("not in the entry"));
    EXPECT_FALSE(find->FindNextButtonClick());

    QStringList shown;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        shown << widget->toolTip();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
            shown << button->text();
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            shown << label->text();
        if (const auto* list = qobject_cast<const QComboBox*>(widget))
            for (int i = 0; i < list->count(); ++i)
                shown << list->itemText(i);
    }
    for (const QAction* action : window->findChildren<QAction*>())
        shown << action->text() << action->toolTip();
    shown << find->StatusLabel->text();
    for (const auto& box : boxes.Shown())
        shown << box.text << box.caption;

    for (const QString& text : shown)
        EXPECT_FALSE(german.contains(text)) << text.toStdString();
    EXPECT_EQ(find->StatusLabel->text(), QStringLiteral("Text not found."));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text.toStdString(), WPMessage(WPMsg::DeleteAllTabs, MessageLanguage::English));
    const QComboBox* colours = window->WPToolBar2->ListBox(ToolListId::SelFontColor);
    EXPECT_EQ(colours->itemText(0).toStdString(), ColorName(0, false));
    EXPECT_EQ(window->WPToolBar2->ListBox(ToolListId::SelBackgroundColor)->itemText(0), QStringLiteral("None"));
    EXPECT_EQ(window->WPToolBar2->IconButton(ToolIconId::SelReplace)->toolTip(), QStringLiteral("Find and Replace (Ctrl+R)"));
    find->close();
}

// The command buttons showed the style's stock pictures (a computer for Print, a folder for
// Paste Picture). With the fallback icon theme every button with a standard name shows that
// theme's picture, and the rest show ours.
TEST_F(MainWindowTest, CommandButtonsShowTheIconThemesPictures)
{
    UseDesktopIconTheme();
    ASSERT_TRUE(QIcon::hasThemeIcon(QStringLiteral("document-print"))) << "icon theme " << kFallbackIconTheme << " missing";
    auto window = Open();
    const auto same = [](const QIcon& a, const QIcon& b) {
        return a.pixmap(16, 16).toImage() == b.pixmap(16, 16).toImage();
    };
    const std::pair<QAbstractButton*, const char*> themed[] = {
        {window->SaveButton, "document-save"},    {window->FirstButton, "go-first"},
        {window->PriorButton, "go-previous"},     {window->Nextbutton, "go-next"},
        {window->LastButton, "go-last"},          {window->CalendarButton, "x-office-calendar"},
        {window->Deletebutton, "edit-delete"},    {window->Printbutton, "document-print"},
        {window->PasteGraphicButton, "image-x-generic"},  // the theme has no insert-image
    };
    for (const auto& [button, name] : themed) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_TRUE(same(button->icon(), QIcon::fromTheme(QString::fromLatin1(name))));
    }
    for (QAbstractButton* own : std::initializer_list<QAbstractButton*>{window->DocPageBreakButton, window->DocWordWrapButton}) {
        SCOPED_TRACE(own->objectName().toStdString());
        EXPECT_FALSE(own->icon().isNull());
    }
    EXPECT_TRUE(same(window->WPToolBar2->IconButton(ToolIconId::SelBold)->icon(),
                     QIcon::fromTheme(QStringLiteral("format-text-bold"))));
}

// --- the password command -----------------------------------------------------------------------

struct PasswordCase {
    const char* name;
    std::string stored;
    QString oldTyped;
    QString newTyped;
    bool clear;             // press Clear instead of OK
    std::string expected;   // the password afterwards
    std::vector<QString> messages;
};

TEST_F(MainWindowTest, PasswordSetChangeSameCaseOnlyAndClear)
{
    const PasswordCase cases[] = {
        {"set", "", "", "Secret1", false, "Secret1", {"Be sure to write down your new password: Secret1"}},
        {"change", "abc", "abc", "New 2", false, "New 2", {"Be sure to write down your new password: New 2"}},
        {"same", "abc", "abc", "abc", false, "abc", {}},
        {"case only", "abc", "abc", "ABC", false, "ABC", {"Be sure to write down your new password: ABC"}},
        {"clear", "abc", "abc", "", true, "", {"Password cleared. No password now required."}},
    };
    for (const PasswordCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder diary;
        SetProgramFolder(diary.withSlash());
        diary.write("QL.INI", "[Opening Screen]\nshow=0\n[Security]\nPassword=" +
                                  (c.stored.empty() ? std::string() : EncryptString(c.stored)) + "\n");
        fs::create_directories(diary.path() / "Entries");
        WriteEntry(kToday - 1, "{\\rtf1\\ansi Yesterday}", c.stored);

        auto window = Open();
        EXPECT_EQ(window->DiaryPassword(), c.stored);
        Type(*window, "Unsaved today");  // stored with the old password before the change

        MessageBoxScript messages;
        ModalScript script;
        script.Then<TWarningScreen>([](TWarningScreen& warning) {
                  warning.show();
                  warning.OKButton->click();
                  return ModalScript::kKeepResult;
              })
            .Then<TGetPassword>([&](TGetPassword& dialog) {
                dialog.show();
                dialog.LegacyScheme->setChecked(true);  // the stored format's cipher
                if (!c.oldTyped.isEmpty())
                    QTest::keyClicks(dialog.OldPassword, c.oldTyped);
                QTest::keyClicks(dialog.NewPassword, c.newTyped);
                (c.clear ? dialog.ClearButton : dialog.OkButton)->click();
                return ModalScript::kKeepResult;
            });
        window->mnuSecurity->trigger();
        EXPECT_TRUE(script.Finished());

        std::vector<QString> shown;
        for (const auto& box : messages.Shown())
            shown.push_back(box.text);
        EXPECT_EQ(shown, c.messages);
        EXPECT_EQ(window->DiaryPassword(), c.expected);
        EXPECT_FALSE(Changed(*window));
        for (const Day day : {kToday - 1, kToday}) {
            const std::string bytes = diary.read("Entries/" + DayKey(day) + ".QLE");
            EXPECT_EQ(bytes.rfind("{\\rtf", 0) == 0, c.expected.empty()) << DayKey(day);
            EXPECT_EQ(ReadEntry(day, c.expected).rfind("{\\rtf", 0), 0u) << DayKey(day);
        }
        // The window reads and writes with the new password from now on.
        Click(window->PriorButton);
        EXPECT_EQ(Text(*window), "Yesterday\n");
        Type(*window, "!");
        Click(window->Nextbutton);
        EXPECT_NE(ReadEntry(kToday - 1, c.expected).find("Yesterday"), std::string::npos);
        for (const auto& file : fs::directory_iterator(diary.path()))
            EXPECT_NE(file.path().filename().string(), "Eraseme.rtf");
        window.reset();
        SetProgramFolder(folder.withSlash());
    }
}

} // namespace
} // namespace quillory
