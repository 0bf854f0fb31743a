// TMainScreen: the entry on screen - loading, saving, cancelling, deleting - moving between
// days, the settings and window placement, and closing.
#include "app/forms/Main.h"

#include "platform/qt/DateNames.h"

#include "app/EntryConflicts.h"
#include "app/EntryFiles.h"
#include "app/SettingsSync.h"
#include "app/SymbolFontUse.h"
#include "app/forms/AutoBackups.h"
#include "app/forms/VersionBar.h"
#include "controls/Ring.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/MessageBoxes.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/ToolBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <span>

namespace quillory {

namespace {

constexpr std::string_view kPlacementClass = "TMainScreen";

RGBColor ColorOf(int value)
{
    return RGBColor{std::uint8_t(value & 0xFF), std::uint8_t((value >> 8) & 0xFF), std::uint8_t((value >> 16) & 0xFF), 0};
}

bool SameRgb(RGBColor a, RGBColor b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

constexpr const char* kPasswordChangedElsewhere =
    "The diary's password was changed on another computer while Quillory was open here. This page cannot be "
    "saved with the old one: copy its text, press Cancel and start Quillory again.";

} // namespace

void TMainScreen::ShowError(const Error& error)
{
    ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                   MessageIcon::Error);
}

// --- the entry on screen ------------------------------------------------------------------------

std::string TMainScreen::GetCurrentDateFileName() const
{
    return quillory::GetCurrentDateFileName(CurrentDay);
}

void TMainScreen::FindDateRecord()
{
    EntryExists = EntryFileExists(CurrentDay);
    SetDateCaption();
}

void TMainScreen::SetDateCaption()
{
    DateLabel->setText(LongDateCaption(CurrentDay));
    // Screen readers name the page by its day, and say the new day when it changes.
    WPRichText1->setAccessibleName(tr("Diary entry, %1").arg(DateLabel->text()));
}

void TMainScreen::LoadRichText()
{
    pageUnreadable_ = false;
    WPRichText1->SetReadOnly(false);
    WPRichText1->Clear();
    loadedStamp_ = FileStamp{};
    if (EntryExists) {
        // Until it has been read, a save must count whatever is on disk as the other version.
        loadedStamp_.exists = true;
        try {
            const std::string bytes = ReadEntry(CurrentDay, Settings.DiaryPassword, loadedStamp_);
            if (MayNameSymbolFont(bytes))
                UseSymbolFonts();  // before the text is laid out in them
            WPRichText1->LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        } catch (const Error& error) {
            ShowError(error);
            pageUnreadable_ = true;
        } catch (const std::exception& error) {
            ShowError(Error(error.what()));
            pageUnreadable_ = true;
        }
        // What is on the page is not the whole entry: saved, it would replace the file.
        WPRichText1->SetReadOnly(pageUnreadable_);
        SaveButton->hide();
        CancelButton->hide();
        WPRichText1->GoTo(0);
        WPRichText1->viewport()->update();
    } else {
        SetDefaultFontNow();
        // Setting the attributes counts as a change, which showed the buttons.
        SaveButton->hide();
        CancelButton->hide();
    }
    Deletebutton->setEnabled(!pageUnreadable_);
    DeleteEntry1->setEnabled(!pageUnreadable_);
    VersionBar->ShowDay(CurrentDay);
    if (!FirstActivation)
        WPRichText1->setFocus();
}

void TMainScreen::SetDefaultFontNow()
{
    TAttr attr = WPRichText1->GetCurrentAttr();
    attr.font = std::uint8_t(WPRichText1->FontIndex(Settings.DefaultFontName));
    attr.size = std::uint8_t(std::clamp(Settings.DefaultFontSize, 0, 255));
    if (Settings.DefaultFontBold)
        attr.style |= AttrStyle::Bold;
    if (Settings.DefaultFontItalic)
        attr.style |= AttrStyle::Italic;
    if (Settings.DefaultFontUnderline)
        attr.style |= AttrStyle::Underline;
    int color = 0;
    for (int i = 0; i < 16; ++i) {
        if (SameRgb(WPRichText1->GetColor(i), ColorOf(Settings.DefaultFontColor)))
            color = i;
    }
    attr.setTextColor(color);
    WPRichText1->SetCurrentAttr(attr);
}

bool TMainScreen::SaveRichText()
{
    // The last guard of an entry that could not be read: whatever showed Save, the page holds
    // at most a part of it, and writing or deleting would lose the rest.
    if (pageUnreadable_)
        return true;
    try {
        const SaveStep step = ChooseSaveStep(WPRichText1->IsEmpty(), EntryExists);
        // Written with this run's password, the entry would not open with the one now stored.
        if (step != SaveStep::Nothing && !(LoadDiarySecurity() == loadedSecurity_))
            throw Error(kPasswordChangedElsewhere);
        std::string bytes;
        if (step == SaveStep::Write) {
            // Without a password the editor picks the format as for the entry's own file name;
            // an enciphered entry is always RTF.
            const TWPFormatSetting format = WPRichText1->SaveFormat;
            if (!Settings.DiaryPassword.empty())
                WPRichText1->SaveFormat = TWPFormatSetting::FormatRTF;
            const bool written = WPRichText1->SaveToStream(bytes);
            WPRichText1->SaveFormat = format;
            if (!written)
                throw Error(FormatMessage("Cannot create file %s", GetCurrentDateFileName()));
        }
        const SavedEntry saved = SaveEntryChecked(CurrentDay, step, bytes, Settings.DiaryPassword, loadedStamp_);
        loadedStamp_ = saved.stamp;
        EntryExists = saved.stamp.exists;
        if (step != SaveStep::Nothing)
            NoteEntrySaved(CurrentDay);
        if (const std::string notice = ConflictNotice(CurrentDay, saved); !notice.empty())
            ShowMessageBox(QString::fromStdString(notice), QStringLiteral("Quillory"), MessageButtons::Ok,
                           MessageIcon::Warning);
        VersionBar->ShowDay(CurrentDay);  // a version the save kept beside
        // The emptied page gives way to the text that stayed the entry.
        if (saved.conflict == EntryConflict::NotDeleted)
            LoadRichText();
    } catch (const Error& error) {
        ShowError(error);
        return false;
    } catch (const std::exception& error) {
        ShowError(Error(error.what()));
        return false;
    }
    return true;
}

bool TMainScreen::SaveButtonClick()
{
    if (SaveButton->isHidden())
        return true;
    if (!SaveRichText())
        return false;
    SaveButton->hide();
    CancelButton->hide();
    return true;
}

void TMainScreen::CancelButtonClick()
{
    LoadRichText();
    SaveButton->hide();
    CancelButton->hide();
}

void TMainScreen::DeletebuttonClick()
{
    if (pageUnreadable_)
        return;  // an entry that could not be read is never deleted from here
    if (!AskConfirm(QStringLiteral("Delete this entry?")))
        return;
    // The file goes at the next save; until then Cancel brings the text back.
    WPRichText1->Clear();
    WPRichText1->Changed();
}

void TMainScreen::WPRichText1Change()
{
    if (pageUnreadable_)
        return;  // nothing on that page can be saved
    SaveButton->show();
    CancelButton->show();
}

void TMainScreen::SetButtons()
{
    WPRichText1->SetReadOnly(pageUnreadable_);
    SaveButton->hide();
    CancelButton->hide();
    SetIconToolCaption();
}

// --- moving between days ------------------------------------------------------------------------

void TMainScreen::ShowDay(Day day)
{
    CurrentDay = day;
    FindDateRecord();
    LoadRichText();
}

void TMainScreen::Navigate(Navigation command)
{
    if (!SaveButtonClick())
        return;  // the day on screen stays, with its unsaved text
    ShowDay(NavigateFrom(CurrentDay, command));
}

void TMainScreen::FirstButtonClick() { Navigate(Navigation::First); }
void TMainScreen::PriorButtonClick() { Navigate(Navigation::Prior); }
void TMainScreen::BitBtn1Click() { Navigate(Navigation::Today); }
void TMainScreen::NextButtonClick() { Navigate(Navigation::Next); }
void TMainScreen::LastButtonClick() { Navigate(Navigation::Last); }

void TMainScreen::HideButtonClick()
{
    showMinimized();
}

void TMainScreen::exit1Click()
{
    if (SaveButtonClick())
        close();
}

void TMainScreen::closeEvent(QCloseEvent* event)
{
    // An entry that could not be saved keeps the window open: closing would lose it.
    if (!SaveButtonClick()) {
        event->ignore();
        return;
    }
    SavePreferencesShowingErrors();
    HideIconPalette();
    QCoreApplication::processEvents();
    SaveFormPlacement();
    AutoBackups->AtClose();  // after every file of the diary is written; the window does not wait
    event->accept();
}

// --- keys ---------------------------------------------------------------------------------------

bool TMainScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RingPanel1 && event->type() == QEvent::Resize)
        FormResize();
    // The font list is about to be opened or typed into: it must hold the symbol fonts.
    if ((event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)
        && watched == WPToolBar2->ListBox(ToolListId::SelFontName))
        UseSymbolFonts();
    if (event->type() == QEvent::KeyPress)
        return PreviewKey(watched, static_cast<QKeyEvent&>(*event));
    return QMainWindow::eventFilter(watched, event);
}

bool TMainScreen::PreviewKey(QObject* watched, QKeyEvent& key)
{
    // A key goes first to the focused widget and then up through its parents: look at it once,
    // at its first stop, and only when it is for this window.
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    if (!widget || widget->window() != this || (focus ? widget != focus : widget != this))
        return false;

    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if (modifiers == Qt::ControlModifier && (key.key() == Qt::Key_PageDown || key.key() == Qt::Key_PageUp)) {
        if (key.key() == Qt::Key_PageDown)
            NextButtonClick();
        else
            PriorButtonClick();
        // Passed on, the key would scroll the day just loaded away from its start.
        return true;
    }
    if (widget == WPRichText1) {
        const bool alwaysAChange = key.key() == Qt::Key_Delete || key.key() == Qt::Key_Tab
            || key.key() == Qt::Key_Backtab || (key.key() == Qt::Key_V && modifiers == Qt::ControlModifier);
        if (alwaysAChange)
            WPRichText1->Changed();
    }
    return false;
}

// --- settings and placement -----------------------------------------------------------------------

void TMainScreen::LoadPreferences()
{
    const QRect frame = frameGeometry();
    Settings = quillory::LoadPreferences(WindowRect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1});
    loadedSettings_ = Settings;
    loadedSecurity_ = LoadDiarySecurity();
    DefaultFont = QFont(QString::fromStdString(Settings.DefaultFontName));
    DefaultFont.setPointSize(std::max(1, Settings.DefaultFontSize));
    DefaultFont.setBold(Settings.DefaultFontBold);
    DefaultFont.setItalic(Settings.DefaultFontItalic);
    DefaultFont.setUnderline(Settings.DefaultFontUnderline);
}

void TMainScreen::SavePreferences()
{
    TakeIconPaletteSettings();
    // The default font dialog's font is what the user last confirmed.
    Settings.DefaultFontName = DefaultFont.family().toStdString();
    Settings.DefaultFontSize = DefaultFont.pointSize();
    Settings.DefaultFontBold = DefaultFont.bold();
    Settings.DefaultFontItalic = DefaultFont.italic();
    Settings.DefaultFontUnderline = DefaultFont.underline();
    // Only what this run changed: QL.INI may have been changed on another computer meanwhile.
    const SettingsSaved saved = SavePreferencesMerged(Settings, loadedSettings_);
    loadedSettings_ = Settings;
    if (const std::string notice = SettingsConflictNotice(saved); !notice.empty())
        ShowMessageBox(QString::fromStdString(notice), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Warning);
}

void TMainScreen::SavePreferencesShowingErrors()
{
    try {
        SavePreferences();
    } catch (const Error& error) {
        ShowError(error);
    }
}

namespace {

int LogicalDpi(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? int(std::lround(screen->logicalDotsPerInch())) : 96;
}

} // namespace

void TMainScreen::RestoreFormPlacement()
{
    try {
        const FormPlacement stored = LoadFormPlacement(kPlacementClass, LogicalDpi(*this), isMaximized());
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(0, 0, 800, 600);
        const PlacementDecision decision = PlaceOnScreen(stored, WindowRect{0, 0, area.width(), area.height()});
        if (decision.bounds) {
            const QSize frameExtra = frameGeometry().size() - geometry().size();
            move(decision.bounds->Left, decision.bounds->Top);
            resize(decision.bounds->Width() - frameExtra.width(), decision.bounds->Height() - frameExtra.height());
        } else {
            CenterForm(*this);
        }
        if (decision.maximize)
            setWindowState(windowState() | Qt::WindowMaximized);
        SaveFormPlacement();
    } catch (const Error& error) {
        ShowError(error);
    }
}

void TMainScreen::SaveFormPlacement()
{
    const QRect frame = isMaximized() ? normalGeometry() : frameGeometry();
    FormPlacement placement;
    placement.normal = WindowRect{frame.left(), frame.top(), frame.right() + 1, frame.bottom() + 1};
    placement.maximized = isMaximized();
    try {
        StoreFormPlacement(kPlacementClass, LogicalDpi(*this), placement);
    } catch (const Error& error) {
        ShowError(error);
    }
}

} // namespace quillory
