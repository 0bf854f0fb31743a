// TMainScreen: the diary's main window. One day's entry in the editor on a ring-binder page,
// the toolbar and ruler above it and the command buttons below; the load, edit, save, cancel
// and delete cycle of that entry, moving between days, the menus, and closing.
#pragma once

// moc cannot read the standard library headers that these pull in; it does not need them.
#ifndef Q_MOC_RUN
#include "app/DiarySecurity.h"
#include "app/EntryStore.h"
#include "app/PasswordOwner.h"
#include "app/Settings.h"
#include "platform/Day.h"
#include "platform/SyncedFile.h"
#endif

#include <QFont>
#include <QMainWindow>
#include <QPrinter>
#include <memory>
#include <QPointer>
#include <string>
#include <vector>

class QAction;
class QDockWidget;
class QFrame;
class QKeyEvent;
class QLabel;
class QMenu;
class QPoint;
class QPushButton;
class QToolButton;

namespace quillory {

class EntryIndex;
class Error;
class TAutoBackups;
class TFoundEntries;
class TSearchPanel;
struct FoundPlace;
struct EarlierEntry;
class TGraphicPanel;
class TFloatingPalette;
class TRingPanel;
class TVersionBar;
class TWPRichText;
class TWPRuler;
class TWPToolBar;

// How the program was asked to show its window when it started.
enum class StartShowState { Normal, Minimized };

class TMainScreen : public QMainWindow, public PasswordOwner {
    Q_OBJECT

public:
    // Creation (FormCreate): the settings, the placement, the Entries folder, today's entry and,
    // when it is wanted, the opening notice. The window is not shown yet.
    explicit TMainScreen(StartShowState startShow = StartShowState::Normal, QWidget* parent = nullptr);
    ~TMainScreen() override;

    // False when creation stopped and the program is to end (a legacy diary was not converted).
    bool Created() const noexcept { return created_; }

    // --- working state ------------------------------------------------------------------------
    Day CurrentDay;
    bool EntryExists = false;
    bool FirstActivation = true;
    Preferences Settings;  // the password, default font, opening notice and icon palette
    QFont DefaultFont;     // the default font dialog's font: the source of truth when saving

    // --- entry lifecycle ----------------------------------------------------------------------
    std::string GetCurrentDateFileName() const;
    void FindDateRecord();
    // Shows CurrentDay's entry. A file that cannot be read is reported and leaves the page
    // read-only, so that nothing typed there can replace the entry.
    void LoadRichText();
    // Writes or deletes CurrentDay's entry file. False, after showing the error, when that failed:
    // the text stays in the editor and the file as it was.
    bool SaveRichText();
    // Saves when the entry has unsaved changes (Save is showing). False when the save failed;
    // the command that asked must then stop.
    bool SaveButtonClick();
    void CancelButtonClick();
    void DeletebuttonClick();
    void SetButtons();
    void SetDateCaption();
    void SetDefaultFontNow();
    void FormResize();
    // The first activation: shows the window (minimized when started so), saves the settings.
    void FormActivate();

    // --- moving between days ------------------------------------------------------------------
    void FirstButtonClick();
    void PriorButtonClick();
    void BitBtn1Click();
    void NextButtonClick();
    void LastButtonClick();
    void HideButtonClick();
    void exit1Click();

    // --- settings -----------------------------------------------------------------------------
    std::string DiaryPassword() const override { return Settings.DiaryPassword; }
    void SetDiaryPassword(const std::string& password) override { Settings.DiaryPassword = password; }
    void LoadPreferences() override;
    void SavePreferences() override;
    void RestoreFormPlacement();
    void SaveFormPlacement();

    // --- editing commands of the menus ----------------------------------------------------------
    void mnuSecurityClick();
    // MainDiaryFolder.cpp: the "Diary Folder..." item, and the setting it changes for the next start.
    void CreateDiaryFolderItem(QMenu* menu);
    void mnuDiaryFolderClick();
    void PrintSetup1Click();
    void Cut1Click();
    void Copy1Click();
    void Paste1Click();
    void DeleteSelection1Click();
    void SelectAll1Click();
    void SaveChanges1Click() { SaveButtonClick(); }
    void DeleteEntry1Click() { DeletebuttonClick(); }
    void EnterDate1Click();
    void InsertTodaystime1Click();
    void DocPageBreakButtonClick();
    void mnuWrapTexttofitScreenClick();
    void DocWordWrapButtonClick();
    void mnuDefaultFontClick();
    void mnuFindClick();
    void Replace1Click();
    void About1Click();
    void SpellCheck1Click();
    // After the toolbar's own handling: the spell-check icon (768/8, pressed) starts the check.
    void WPToolBar2IconSelection(int typ, int group, int num);

    // --- the icon palette (MainIcons.cpp) --------------------------------------------------------
    // The palette window, created at start-up after this window and living as long (a child).
    TFloatingPalette* FloatingPalette = nullptr;
    void SetIconPalette(TFloatingPalette* palette);
    void ShowHideIconToolClick();
    // Whether a drag over the entry is taken: an icon from the palette, on a page that may change.
    bool WPRichText1DragOver(const QObject* source) const;
    // Inserts the palette's selected icon as a picture where it was dropped (viewport pixels).
    void WPRichText1DragDrop(QObject* source, const QPoint& at);
    // --- printing and export (MainOutput.cpp) ---------------------------------------------------
    void PrintNowClick();
    void PrintbuttonClick() { PrintNowClick(); }
    void Export1Click();
    // --- backups (MainBackup.cpp) -----------------------------------------------------------------
    // The diary into one zip archive named in a save dialog, checked before it is reported done.
    void BackUpDiary1Click();
    // The diary replaced by a backup chosen in an open dialog, after a question; the replaced one
    // is kept as a backup beside it, and the restored one shown (its password asked when it
    // changed).
    void RestoreDiary1Click();
    // The settings of automatic backups; those backups themselves are AutoBackups' (AutoBackups.cpp).
    void AutoBackups1Click();
    TAutoBackups* AutoBackups = nullptr;
    // Imports entries of another diary program through its dialog, then shows the day anew.
    void ImportDiary1Click();
    // The printer that Print Setup sets up and printing uses, kept until the program ends.
    QPrinter& KeptPrinter();
    // --- finding entries: the date selector and the search across entries (MainSearch.cpp) ---
    void CalendarButtonClick();
    void ListEntryDays(std::vector<std::string>& days, int year, int month);
    void mnuFindentrycontainingClick();
    void mnuFindNextBigClick();
    // Lists every matching day in a window of its own while the walk goes on.
    void mnuFindAllClick();
    // Loads CurrentDay's entry into the hidden editor, deciphered in memory.
    void LoadRichTextAllPurp();
    QString LastSearchText;
    bool LastSearchFound = false;
    QPointer<TFoundEntries> FoundEntries;
    // --- search as you type (MainSearchPanel.cpp) ------------------------------------------------
    // The panel beside the page (Ctrl+Shift+F), and the index of the entries' text it searches:
    // built in the background after the window shows, in memory only, kept current on saves.
    void mnuSearchEntriesClick();
    void StartIndexing();
    // The day's entry changed on disk (saved, deleted): the index follows.
    void NoteEntrySaved(Day day);
    // Shows the day of a chosen result with its match selected.
    void ShowFoundPlace(const FoundPlace& place);
    std::unique_ptr<EntryIndex> Index;
    // --- what the diary tells about its days (MainDiaryDays.cpp) -----------------------------------
    void mnuOnThisDayClick();
    void mnuTagsClick();
    void mnuStatisticsClick();
    // The entries of `day`'s calendar day in earlier years with their first lines, oldest first.
    std::vector<EarlierEntry> EarlierEntries(Day day) const;
    QAction* mnuOnThisDay = nullptr;
    QAction* mnuTags = nullptr;
    QAction* mnuStatistics = nullptr;
    TSearchPanel* SearchPanel = nullptr;
    QDockWidget* SearchDock = nullptr;
    QAction* mnuSearchEntries = nullptr;
    void ParagraphSetupButtonClick();
    void Contents1Click();
    void Undo1Click();
    void Redo1Click();
    void PasteGraphicButtonClick();
    void SymbolSelectorButtonClick();
    // Loads the symbol fonts if not yet loaded and lists them in the toolbar; each place that
    // may first need them calls it (an entry or a paste naming one, the symbol selector, the
    // font list, printing).
    void UseSymbolFonts();

    // --- components, by their designer names -----------------------------------------------------
    TWPToolBar* WPToolBar2 = nullptr;
    TWPRuler* WPRuler1 = nullptr;
    TRingPanel* RingPanel1 = nullptr;
    QLabel* DateLabel = nullptr;
    QFrame* TopLine = nullptr;
    QFrame* Bottomline = nullptr;
    TWPRichText* WPRichText1 = nullptr;
    TWPRichText* WPRichTextAllPurpose = nullptr;
    QWidget* ActionPanel = nullptr;
    // Above the page while the day has other versions (sync tools' conflict copies).
    TVersionBar* VersionBar = nullptr;
    QWidget* Panel2 = nullptr;

    QPushButton* SaveButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* FirstButton = nullptr;
    QPushButton* PriorButton = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* Nextbutton = nullptr;
    QPushButton* LastButton = nullptr;
    QPushButton* CalendarButton = nullptr;
    QPushButton* Hidebutton = nullptr;
    QPushButton* ExplorerButton1 = nullptr;

    QToolButton* Deletebutton = nullptr;
    QToolButton* DocPageBreakButton = nullptr;
    QToolButton* ParagraphSetupButton = nullptr;
    QToolButton* DocWordWrapButton = nullptr;
    QToolButton* Printbutton = nullptr;
    QToolButton* PasteGraphicButton = nullptr;
    QToolButton* SymbolSelectorButton = nullptr;
    QToolButton* ShowHideIconTool = nullptr;

    QAction* mnuSecurity = nullptr;
    QAction* mnuDiaryFolder = nullptr;
    QAction* PrintSetup1 = nullptr;
    QAction* PrintNow = nullptr;
    QAction* Export1 = nullptr;
    QAction* BackUpDiary1 = nullptr;
    QAction* RestoreDiary1 = nullptr;
    QAction* AutoBackups1 = nullptr;
    QAction* ImportDiary1 = nullptr;
    QAction* exit1 = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste1 = nullptr;
    QAction* DeleteSelection1 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* SaveChanges1 = nullptr;
    QAction* DeleteEntry1 = nullptr;
    QAction* SpellCheck1 = nullptr;
    QAction* EnterDate1 = nullptr;
    QAction* InsertTodaystime1 = nullptr;
    QAction* mnuWrapTexttofitScreen = nullptr;
    QAction* mnuDefaultFont = nullptr;
    // The page shown dark with light text (the setting DarkPage); the entry keeps its colours.
    QAction* mnuDarkPage = nullptr;
    void ApplyPageColours();
    QAction* mnuFind = nullptr;
    QAction* Replace1 = nullptr;
    QAction* mnuFindentrycontaining = nullptr;
    QAction* mnuFindNextBig = nullptr;
    QAction* mnuFindAll = nullptr;
    QAction* Contents1 = nullptr;
    QAction* About1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    // Ctrl+B, Ctrl+I, Ctrl+U: the toolbar's bold, italic and underline icons.
    QAction* BoldKey = nullptr;
    QAction* ItalicKey = nullptr;
    QAction* UnderlineKey = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    // MainCreate.cpp
    void CreateComponents();
    void CreateActionButtons();
    void CreateToolButtons();
    void MoveToolButtons();
    // MainMenu.cpp
    void CreateMenu();
    // MainSearchPanel.cpp
    void CreateSearchPanel();
    // MainEditing.cpp: the undo and redo items and the style keys.
    void CreateEditingActions(QMenu* edit, QAction* before);
    // Key preview of the window (Ctrl+Page Up/Down) and of the editor (keys that always count
    // as a change). True when the key was taken.
    bool PreviewKey(QObject* watched, QKeyEvent& key);

    // The hints of the buttons that a key also works name that key: "Bold (Ctrl+B)".
    void ShowKeysInHints();
    // The toggle button's caption follows the palette's visibility.
    void SetIconToolCaption();
    // First activation: the palette where it was, with its library, shown as it was.
    void PlaceIconPalette();
    // Its library, place and visibility into the settings record.
    void TakeIconPaletteSettings();
    void HideIconPalette();

    void Navigate(Navigation command);
    void ShowDay(Day day);
    void WPRichText1Change();
    // Writes the settings; a failure is shown.
    void SavePreferencesShowingErrors();
    void ShowError(const Error& error);
    // Whether a legacy diary waits to be converted into entry files.
    bool LegacyDiaryWaiting() const;
    // MainConvert.cpp: asks, then converts the legacy diary with the busy window showing. True
    // when Entries exists afterwards; false when the user said No or the conversion failed.
    bool PerformConversion();

    StartShowState startShow_;
    bool created_ = false;
    // The entry on screen could not be read whole: the page is read-only until another loads.
    bool pageUnreadable_ = false;
    // The day's file as the page on screen was loaded from it (or last saved into it): a save
    // first checks that another computer has not changed it meanwhile.
    FileStamp loadedStamp_;
    // The preferences as read from QL.INI: a save writes only what this run changed.
    Preferences loadedSettings_;
    // The diary's protection that this run's key belongs to: an entry is never written with it
    // once another computer has changed the password.
    DiarySecurity loadedSecurity_;
    bool closing_ = false;
    std::unique_ptr<QPrinter> printer_;

    // MainSearch.cpp
    // Walks from CurrentDay to `last` until the hidden editor confirms a match.
    void WalkForMatch(Day last);
    // The closing steps of both Find commands.
    void FinishFind(Day remembered);
    void ShowFoundEntry(Day day, const QString& query);
    void SetSearching(bool searching);
    bool searching_ = false;
};

} // namespace quillory
