// TMainScreen: its components as designed, creation, first activation and the page layout.
#include "app/forms/Main.h"

#include "app/EntryIndex.h"
#include "app/MainLayout.h"
#include "app/forms/AutoBackups.h"
#include "app/forms/ButtonIcons.h"
#include "app/forms/SymbolFontLoading.h"
#include "app/forms/VersionBar.h"
#include "app/legacy/LegacyConversion.h"
#include "app/forms/Openmess.h"
#include "controls/Graphp.h"
#include "controls/Ring.h"
#include "platform/Clock.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/Ruler.h"
#include "richtext/qt/ToolBar.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>
#include <string>

namespace quillory {

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A text of the window's design tables, in the user's language.
QString Translated(std::string_view text)
{
    return text.empty() ? QString() : QCoreApplication::translate("MainScreen", text.data());
}

QIcon Glyph(const char* buttonName)
{
    return ButtonIcon(buttonName);
}

QFrame* HorizontalRule(QWidget* parent, const char* name)
{
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setFrameShape(QFrame::NoFrame);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Qt::black);
    line->setPalette(palette);
    return line;
}

} // namespace

TMainScreen::TMainScreen(StartShowState startShow, QWidget* parent)
    : QMainWindow(parent), CurrentDay(Today()), startShow_(startShow)
{
    setObjectName(QStringLiteral("MainScreen"));
    setWindowTitle(QStringLiteral("Quillory"));
    setAccessibleName(tr("Quillory diary"));
    setFont(QFont(QStringLiteral("Arial"), 8));
    CreateComponents();
    CreateMenu();
    CreateSearchPanel();
    // The designed client area, below the menu bar.
    resize(kMainClientWidth, kMainClientHeight + menuBar()->sizeHint().height());
    qApp->installEventFilter(this);
    AutoBackups = new TAutoBackups(this);
    FormCreate();
}

TMainScreen::~TMainScreen()
{
    // The children about to go still send events; none of them is for this window any more.
    qApp->removeEventFilter(this);
    Index->Wait(true);
}

void TMainScreen::CreateComponents()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    WPToolBar2 = new TWPToolBar(central);
    WPRuler1 = new TWPRuler(central);
    RingPanel1 = new TRingPanel(central);
    ActionPanel = new QWidget(central);
    layout->addWidget(WPToolBar2);
    layout->addWidget(WPRuler1);
    VersionBar = new TVersionBar(central);
    VersionBar->SavePage = [this] { return SaveButtonClick(); };
    VersionBar->ReloadPage = [this] { ShowDay(CurrentDay); };
    VersionBar->Password = [this] { return Settings.DiaryPassword; };
    layout->addWidget(VersionBar);
    layout->addWidget(RingPanel1, 1);
    layout->addWidget(ActionPanel);

    RingPanel1->setObjectName(QStringLiteral("RingPanel1"));
    RingPanel1->SetDoubleRing(true);
    RingPanel1->SetSmallRing(true);
    RingPanel1->SetLeftEdge(31);
    RingPanel1->SetRightEdge(15);
    RingPanel1->setFrameShape(QFrame::Box);
    RingPanel1->installEventFilter(this);

    DateLabel = new QLabel(RingPanel1);
    DateLabel->setObjectName(QStringLiteral("DateLabel"));
    QFont dateFont(QStringLiteral("Arial"));
    dateFont.setPixelSize(16);
    dateFont.setBold(true);
    dateFont.setItalic(true);
    DateLabel->setFont(dateFont);
    QPalette datePalette = DateLabel->palette();
    datePalette.setColor(QPalette::WindowText, QColor(128, 0, 128));
    DateLabel->setPalette(datePalette);
    DateLabel->setAttribute(Qt::WA_TranslucentBackground);
    TopLine = HorizontalRule(RingPanel1, "TopLine");
    Bottomline = HorizontalRule(RingPanel1, "Bottomline");

    WPRichText1 = new TWPRichText(RingPanel1);
    WPRichText1->setObjectName(QStringLiteral("WPRichText1"));
    WPRichText1->setAccessibleName(tr("Diary entry"));
    WPRichText1->SetColor(Qt::white);
    WPRichText1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    WPRichText1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    WPRichText1->SetWordWrap(true);
    WPRichText1->WantTabs = true;
    WPRichText1->SetFont(QFont(QStringLiteral("Arial"), 8));
    WPRichText1->SetZooming(100);
    WPRichText1->OnChange = [this](TWPRichText&) { WPRichText1Change(); };
    WPRichText1->OnBeforePasteEvent = [this](TWPRichText& editor) {
        if (ClipboardNamesSymbolFont())
            UseSymbolFonts();
        editor.Changed();
    };
    WPRichText1->installEventFilter(this);

    WPRichTextAllPurpose = new TWPRichText(RingPanel1);
    WPRichTextAllPurpose->setObjectName(QStringLiteral("WPRichTextAllPurpose"));
    WPRichTextAllPurpose->hide();

    WPToolBar2->setObjectName(QStringLiteral("WPToolBar2"));
    {
        using enum ToolIconId;
        // Each setter builds the toolbar anew, its lists and icons with it: only the sets that
        // differ from the toolbar's own are set.
        const auto choose = [this](auto current, auto wanted, auto setter) {
            if (current != wanted)
                (WPToolBar2->*setter)(wanted);
        };
        choose(WPToolBar2->sel_ListBoxes(),
               ToolListSet{ToolListId::SelFontName, ToolListId::SelFontSize, ToolListId::SelFontColor,
                           ToolListId::SelBackgroundColor},
               &TWPToolBar::Setsel_ListBoxes);
        choose(WPToolBar2->sel_StatusIcons(),
               ToolIconSet{SelNormal, SelBold, SelItalic, SelUnder, SelStrikeOut, SelLeft, SelRight, SelBlock, SelCenter},
               &TWPToolBar::Setsel_StatusIcons);
        choose(WPToolBar2->sel_EditIcons(),
               ToolIconSet{SelCopy, SelCut, SelPaste, SelSelAll, SelFind, SelReplace, SelSpellCheck},
               &TWPToolBar::Setsel_EditIcons);
        choose(WPToolBar2->sel_ActionIcons(), ToolIconSet{}, &TWPToolBar::Setsel_ActionIcons);
        choose(WPToolBar2->sel_DatabaseIcons(), ToolIconSet{}, &TWPToolBar::Setsel_DatabaseIcons);
    }
    WPToolBar2->FontChoice = TWPFontChoice::fsPrinterFonts;
    WPToolBar2->SetFontSizeFrom(8);
    WPToolBar2->SetWidthBetweenGroups(5);
    // The diary speaks English: the engine's English messages, colour names and hints (its German
    // set stays for editors that ask for it); the diary's own icon hints are set here.
    WPRichText1->SetLanguage(TWPToolLanguage::twpEnglish);
    WPToolBar2->SetHints({QStringLiteral("WPI_Normal=") + tr("Normal"), QStringLiteral("WPI_Bold=") + tr("Bold"),
                          QStringLiteral("WPI_Italic=") + tr("Italic"), QStringLiteral("WPI_Under=") + tr("Underline"),
                          QStringLiteral("WPI_StrikeOut=") + tr("StrikeOut"), QStringLiteral("WPI_Left=") + tr("Left Justified"),
                          QStringLiteral("WPI_Right=") + tr("Right Justified"), QStringLiteral("WPI_Justified=") + tr("Justified"),
                          QStringLiteral("WPI_Center=") + tr("Centered"), QStringLiteral("WPI_Copy=") + tr("Copy"),
                          QStringLiteral("WPI_Cut=") + tr("Cut"), QStringLiteral("WPI_Paste=") + tr("Paste"),
                          QStringLiteral("WPI_SelAll=") + tr("Select All"), QStringLiteral("WPI_Find=") + tr("Find"),
                          QStringLiteral("WPI_Replace=") + tr("Find and Replace"), QStringLiteral("WPI_Spell=") + tr("Spell Check")});
    WPToolBar2->SetUpdateObject(WPRichText1);
    WPToolBar2->setFixedHeight(kToolBarHeight);
    WPToolBar2->OnIconSelection = [this](TWPToolBar&, int& typ, QString&, int group, int num, int) {
        WPToolBar2IconSelection(typ, group, num);
    };

    WPRuler1->setObjectName(QStringLiteral("WPRuler1"));
    WPRuler1->SetUnits(TWPRulerUnits::wInch);
    WPRuler1->SetShowNumbers(false);
    WPRuler1->SetNewTabKind(TTabKind::tkAll);
    WPRuler1->SetEditor(WPRichText1);
    WPRuler1->setFixedHeight(kRulerHeight);
    WPRuler1->OnSelection = [this](TWPRuler&) { WPRichText1->Changed(); };
    WPRuler1->OnMouseDown = [this](TWPRuler&) { WPRichText1->Changed(); };

    ActionPanel->setObjectName(QStringLiteral("ActionPanel"));
    ActionPanel->setFixedHeight(kActionPanelHeight);
    CreateActionButtons();

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->hide();
    CreateToolButtons();
}

void TMainScreen::CreateActionButtons()
{
    QPushButton** const targets[] = {&SaveButton, &CancelButton, &FirstButton, &PriorButton, &BitBtn1,
                                     &Nextbutton, &LastButton, &CalendarButton, &Hidebutton, &ExplorerButton1};
    static_assert(std::size(targets) == kActionButtons.size());
    for (std::size_t i = 0; i < kActionButtons.size(); ++i) {
        const ActionButtonDesign& design = kActionButtons[i];
        auto* button = new QPushButton(Translated(design.caption), ActionPanel);
        button->setObjectName(Text(design.name));
        button->setGeometry(design.left, kActionButtonTop, design.width, kActionButtonHeight);
        button->setToolTip(Translated(design.hint));
        button->setFocusPolicy(Qt::TabFocus);
        if (design.glyph != GlyphSide::None)
            button->setIcon(Glyph(std::string(design.name).c_str()));
        if (design.glyph == GlyphSide::Right)
            button->setLayoutDirection(Qt::RightToLeft);
        button->setVisible(!design.startsHidden);
        *targets[i] = button;
    }
    // The one button that shows only a picture is named for screen readers.
    CalendarButton->setAccessibleName(tr("Calendar"));
    CalendarButton->setAccessibleDescription(CalendarButton->toolTip());
    connect(SaveButton, &QPushButton::clicked, this, [this] { SaveButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &TMainScreen::CancelButtonClick);
    connect(FirstButton, &QPushButton::clicked, this, &TMainScreen::FirstButtonClick);
    connect(PriorButton, &QPushButton::clicked, this, &TMainScreen::PriorButtonClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TMainScreen::BitBtn1Click);
    connect(Nextbutton, &QPushButton::clicked, this, &TMainScreen::NextButtonClick);
    connect(LastButton, &QPushButton::clicked, this, &TMainScreen::LastButtonClick);
    connect(CalendarButton, &QPushButton::clicked, this, &TMainScreen::CalendarButtonClick);
    connect(Hidebutton, &QPushButton::clicked, this, &TMainScreen::HideButtonClick);
    connect(ExplorerButton1, &QPushButton::clicked, this, &TMainScreen::exit1Click);
}

void TMainScreen::CreateToolButtons()
{
    QToolButton** const targets[] = {&Deletebutton, &DocPageBreakButton, &ParagraphSetupButton,
                                     &DocWordWrapButton, &Printbutton, &PasteGraphicButton,
                                     &SymbolSelectorButton, &ShowHideIconTool};
    static_assert(std::size(targets) == kToolButtons.size());
    for (std::size_t i = 0; i < kToolButtons.size(); ++i) {
        const ToolButtonDesign& design = kToolButtons[i];
        auto* button = new QToolButton(Panel2);
        button->setObjectName(Text(design.name));
        button->setFixedSize(design.width, kToolButtonHeight);
        button->setToolTip(Translated(design.hint));
        button->setAccessibleName(Translated(design.hint));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        if (design.caption.empty()) {
            button->setIcon(Glyph(std::string(design.name).c_str()));
            button->setIconSize(QSize(16, 16));
        } else {
            button->setText(Translated(design.caption));
        }
        *targets[i] = button;
    }
    connect(Deletebutton, &QToolButton::clicked, this, &TMainScreen::DeletebuttonClick);
    connect(DocPageBreakButton, &QToolButton::clicked, this, &TMainScreen::DocPageBreakButtonClick);
    connect(DocWordWrapButton, &QToolButton::clicked, this, &TMainScreen::DocWordWrapButtonClick);
    connect(ParagraphSetupButton, &QToolButton::clicked, this, &TMainScreen::ParagraphSetupButtonClick);
    connect(Printbutton, &QToolButton::clicked, this, &TMainScreen::PrintbuttonClick);
    connect(PasteGraphicButton, &QToolButton::clicked, this, &TMainScreen::PasteGraphicButtonClick);
    connect(SymbolSelectorButton, &QToolButton::clicked, this, &TMainScreen::SymbolSelectorButtonClick);
    // The palette's button waits for the palette, which is made after this window (SetIconPalette).
    ShowHideIconTool->setEnabled(false);
}

void TMainScreen::MoveToolButtons()
{
    QToolButton* const buttons[] = {Deletebutton, DocPageBreakButton, ParagraphSetupButton, DocWordWrapButton,
                                    Printbutton, PasteGraphicButton, SymbolSelectorButton, ShowHideIconTool};
    bool first = true;
    for (QToolButton* button : buttons) {
        if (!first) {
            auto* gap = new TGraphicPanel(WPToolBar2);
            gap->SetBevelOuter(PanelBevel::None);
            gap->setFixedSize(kToolGapWidth, kToolButtonHeight);
            WPToolBar2->AddControl(gap);
        }
        first = false;
        button->setParent(WPToolBar2);
        WPToolBar2->AddControl(button);
        button->show();
    }
}

void TMainScreen::FormCreate()
{
    FirstActivation = true;
    LoadPreferences();
    RestoreFormPlacement();
    // The short date "mm/dd/yyyy" (ShortDateText) serves every date the program writes.
    if (LegacyDiaryWaiting() && !PerformConversion()) {
        // Refused or failed: no Entries folder is made, so the conversion is offered again at
        // the next start.
        ShowInformation(tr("Terminating Quillory!"));
        return;
    }
    std::string error;
    if (!CreateEntriesFolder(&error)) {
        ShowError(Error(error.empty() ? "Cannot create folder " + EntriesFolder() : error));
        return;
    }
    MoveToolButtons();
    ApplyPageColours();
    DocWordWrapButton->setToolTip(Translated(WordWrapHint(mnuWrapTexttofitScreen->isChecked())));
    DocWordWrapButton->setAccessibleName(tr("Word wrap"));
    if (QComboBox* sizes = WPToolBar2->ListBox(ToolListId::SelFontSize)) {
        sizes->setToolTip(tr("Font Size"));
        sizes->setAccessibleName(sizes->toolTip());
        sizes->setAccessibleDescription(sizes->toolTip());
    }
    if (QComboBox* names = WPToolBar2->ListBox(ToolListId::SelFontName)) {
        names->setToolTip(tr("Font"));
        names->setAccessibleName(names->toolTip());
        names->setAccessibleDescription(names->toolTip());
    }
    WPRichText1->setFrameShape(QFrame::NoFrame);
    ShowKeysInHints();

    CurrentDay = Today();
    EntryExists = false;
    FindDateRecord();
    LoadRichText();
    created_ = true;

    if (Settings.ShowOpeningScreen)
        Settings.ShowOpeningScreen = ShowOpeningNotice();
}

void TMainScreen::ShowKeysInHints()
{
    using enum ToolIconId;
    const std::pair<QWidget*, QAction*> keyed[] = {
        {WPToolBar2->IconButton(SelBold), BoldKey},       {WPToolBar2->IconButton(SelItalic), ItalicKey},
        {WPToolBar2->IconButton(SelUnder), UnderlineKey}, {WPToolBar2->IconButton(SelCopy), Copy1},
        {WPToolBar2->IconButton(SelCut), Cut1},           {WPToolBar2->IconButton(SelPaste), Paste1},
        {WPToolBar2->IconButton(SelSelAll), SelectAll1},  {WPToolBar2->IconButton(SelFind), mnuFind},
        {WPToolBar2->IconButton(SelReplace), Replace1},   {WPToolBar2->IconButton(SelSpellCheck), SpellCheck1},
        {Printbutton, PrintNow},                          {Deletebutton, DeleteEntry1},
    };
    for (const auto& [widget, action] : keyed) {
        if (!widget || !action || action->shortcut().isEmpty())
            continue;
        const QString name = widget->accessibleName().isEmpty() ? widget->toolTip() : widget->accessibleName();
        widget->setToolTip(tr("%1 (%2)").arg(name, action->shortcut().toString(QKeySequence::NativeText)));
    }
}

void TMainScreen::ApplyPageColours()
{
    const bool dark = Settings.DarkPage;
    mnuDarkPage->setChecked(dark);
    RingPanel1->SetDarkPage(dark);
    WPRichText1->SetDarkPage(dark);
    // The date keeps its violet, lightened on dark paper; the rules take the page's outline.
    QPalette datePalette = DateLabel->palette();
    datePalette.setColor(QPalette::WindowText, dark ? QColor(214, 160, 232) : QColor(128, 0, 128));
    DateLabel->setPalette(datePalette);
    for (QFrame* rule : {TopLine, Bottomline}) {
        QPalette palette = rule->palette();
        palette.setColor(QPalette::Window, TRingPanel::ColoursFor(false, dark).outline);
        rule->setPalette(palette);
    }
}

bool TMainScreen::LegacyDiaryWaiting() const
{
    return quillory::LegacyDiaryWaiting();
}

void TMainScreen::FormActivate()
{
    if (!FirstActivation)
        return;
    FirstActivation = false;
    if (startShow_ == StartShowState::Minimized)
        showMinimized();
    else
        show();
    PlaceIconPalette();
    SetButtons();
    SavePreferencesShowingErrors();
    AutoBackups->AtStart();
    // The keyboard belongs to the diary's page from the moment the window shows: the window
    // asks for it itself (at once when mapped, where no window manager gives it), and the
    // palette shown beside it never takes it.
    if (startShow_ != StartShowState::Minimized)
        activateWindow();
    WPRichText1->setFocus();
    // The search's index is read once the window is on screen, never before.
    QTimer::singleShot(0, this, &TMainScreen::StartIndexing);
}

void TMainScreen::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (FirstActivation && created_)
        FormActivate();
}

void TMainScreen::FormResize()
{
    const PageLayout page = LayOutPage(RingPanel1->LeftEdge(), RingPanel1->RightEdge(), RingPanel1->width(),
                                       RingPanel1->height());
    const auto place = [](QWidget* widget, const PixelRect& r) { widget->setGeometry(r.left, r.top, r.width, r.height); };
    place(DateLabel, page.dateLabel);
    place(TopLine, page.topLine);
    place(Bottomline, page.bottomLine);
    place(WPRichText1, page.editor);
    // Moving the caret takes the attributes of the text there; an empty page has none of its
    // own and keeps the default font it was given.
    const bool empty = WPRichText1->IsEmpty();
    const TAttr insertion = WPRichText1->GetCurrentAttr();
    WPRichText1->GoTo(0);
    if (empty)
        WPRichText1->RtfText().insertionAttr = insertion;
    WPRichText1->viewport()->update();
}

} // namespace quillory
