// TFloatingPalette: the palette window, its "File" menu and the libraries behind it.
#include "app/forms/Floater.h"

#include "app/IconPalette.h"
#include "controls/IconCtls.h"
#include "platform/Files.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <array>

namespace quillory {

namespace {

QString Text(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString InDataFolder(std::string_view file)
{
    return QString::fromStdString(DataFolder()) + Text(file);
}

bool Exists(const QString& file)
{
    return !file.isEmpty() && FileExistsNoCase(file.toStdString());
}

// The open dialog's filters; each pattern in both cases, since file systems here tell them apart.
QStringList IconFileFilters()
{
    const std::array<std::pair<const char*, const char*>, 7> filters = {{
        {"All Files", "ICL DLL EXE ICO NIL"},
        {"ICL Files", "ICL"},
        {"DLL Files", "DLL"},
        {"EXE Files", "EXE"},
        {"ICO Files", "ICO"},
        {"NIL Files", "NIL"},
        {"ICL and ICO Files", "ICL ICO"},
    }};
    QStringList out;
    for (const auto& [caption, extensions] : filters) {
        QStringList patterns;
        for (const QString& extension : QString::fromLatin1(extensions).split(QLatin1Char(' ')))
            patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toLower();
        out << QStringLiteral("%1 (%2)").arg(QLatin1String(caption), patterns.join(QLatin1Char(' ')));
    }
    return out;
}

// The palette is 160 x 200 pixels with its frame and caption.
constexpr int kClientWidth = 154;
constexpr int kClientHeight = 174;

} // namespace

TFloatingPalette::TFloatingPalette(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FloatingPalette"));
    // Shown with the main window at start: the keyboard stays with the page being written.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(tr("Icons"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    layout->setMenuBar(MainMenu);
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    layout->addWidget(Panel1);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(4, 4, 4, 4);

    IconListBox = new TIconListBox(Panel1);
    IconListBox->setObjectName(QStringLiteral("IconListBox"));
    QPalette white = IconListBox->palette();
    white.setColor(QPalette::Base, Qt::white);
    IconListBox->setPalette(white);
    IconListBox->SetXIcons(3);
    IconListBox->SetYIcons(3);
    IconListBox->setToolTip(
        QStringLiteral("Drag and drop icons onto the diary entry.  Icons\nwill become part of the text."));
    panelLayout->addWidget(IconListBox);

    File = MainMenu->addMenu(tr("File"));
    QAction** const standard[] = {&mnuActivitiesICL, &mnuEventsICL, &mnuHolidaysICL, &mnuMisc1ICL, &mnuMisc2ICL};
    for (std::size_t i = 0; i < std::size(standard); ++i) {
        QAction* item = File->addAction(Text(kStandardIconLibraries[i].caption));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, i] { ShowStandardLibrary(int(i)); });
        *standard[i] = item;
    }
    mnuBonusIconSets = File->addAction(tr("Bonus Icon Sets"));
    connect(mnuBonusIconSets, &QAction::triggered, this, &TFloatingPalette::mnuBonusIconSetsClick);
    mnuOtherIconFile = File->addAction(tr("Other..."));
    mnuOtherIconFile->setCheckable(true);
    connect(mnuOtherIconFile, &QAction::triggered, this, &TFloatingPalette::mnuOtherIconFileClick);

    FormCreate();
}

void TFloatingPalette::FormCreate()
{
    setFixedSize(kClientWidth, kClientHeight);
    IconListBox->SetFileName(InDataFolder(kStandardIconLibraries[0].file));
    ShowIconFile(IconListBox->FileName());
    FillBonusIconSets();
}

void TFloatingPalette::FillBonusIconSets()
{
    const std::vector<BonusIconSet> found = BonusIconSets(DataFolder() + std::string(kBonusIconFolder));
    if (found.empty())
        return;  // the item keeps its own handler, which says so
    // The item becomes a submenu in its place; its own click handler goes with the old action.
    auto* sets = new QMenu(tr("Bonus Icon Sets"), File);
    for (const BonusIconSet& set : found) {
        QAction* item = sets->addAction(QString::fromStdString(set.name));
        item->setData(QString::fromStdString(set.file));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { DefaultMenuClick(item); });
    }
    QAction* old = mnuBonusIconSets;
    mnuBonusIconSets = sets->menuAction();
    File->insertAction(old, mnuBonusIconSets);
    File->removeAction(old);
    old->deleteLater();
}

void TFloatingPalette::ShowStandardLibrary(int which)
{
    IconListBox->SetFileName(InDataFolder(kStandardIconLibraries[std::size_t(which)].file));
    ShowIconFile(IconListBox->FileName());
}

void TFloatingPalette::mnuActivitiesICLClick() { ShowStandardLibrary(0); }
void TFloatingPalette::mnuEventsICLClick() { ShowStandardLibrary(1); }
void TFloatingPalette::mnuHolidaysICLClick() { ShowStandardLibrary(2); }
void TFloatingPalette::mnuMisc1ICLClick() { ShowStandardLibrary(3); }
void TFloatingPalette::mnuMisc2ICLClick() { ShowStandardLibrary(4); }

void TFloatingPalette::DefaultMenuClick(QAction* item)
{
    // The file the item was made from: its caption is only the part before the first dot.
    const QString file = item->data().toString();
    IconListBox->SetFileName(InDataFolder(std::string(kBonusIconFolder) + "/")
                             + (file.isEmpty() ? item->text() + QStringLiteral(".icl") : file));
    ShowIconFile(IconListBox->FileName());
}

void TFloatingPalette::mnuBonusIconSetsClick()
{
    ShowInformation(tr("No bonus icon sets were found in the folder BonusIcons."));
}

QString TFloatingPalette::PickIconFile()
{
    QFileDialog dialog(this, QString(), QString::fromStdString(DataFolder()));
    dialog.setObjectName(QStringLiteral("OpenIconCollectionDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("ICL"));
    const QStringList filters = IconFileFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.last());
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().front();
}

void TFloatingPalette::mnuOtherIconFileClick()
{
    const QString picked = PickIconFile();
    if (!picked.isEmpty())
        IconListBox->SetFileName(picked);
    while (IconListBox->NumberOfIcons() == 0) {
        ShowInformation(tr("No icons found in ") + IconListBox->FileName());
        const QString again = PickIconFile();
        if (again.isEmpty())
            break;
        IconListBox->SetFileName(again);
    }
    if (IconListBox->NumberOfIcons() == 0)
        LoadFallback();
    ShowIconFile(IconListBox->FileName());
}

void TFloatingPalette::LoadFallback()
{
    IconListBox->SetFileName(InDataFolder(kFallbackIconLibrary));
}

void TFloatingPalette::ShowIconFile(const QString& name)
{
    const QString key = QString::fromStdString(IconMenuKey(name.toStdString()));
    bool checked = false;
    const auto check = [&](QAction* item) {
        if (!item->isCheckable())
            return;
        const bool match = item->text().toUpper() == key;
        item->setChecked(match);
        checked = checked || match;
    };
    for (QAction* item : File->actions())
        check(item);
    if (QMenu* sets = mnuBonusIconSets->menu()) {
        for (QAction* item : sets->actions())
            check(item);
    }
    const bool exists = Exists(name);
    if (!checked && exists)
        mnuOtherIconFile->setChecked(true);
    if (exists && name.compare(IconListBox->FileName(), Qt::CaseInsensitive) != 0)
        IconListBox->SetFileName(name);
    if (IconListBox->NumberOfIcons() == 0)
        LoadFallback();
}

void TFloatingPalette::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (OnHide)
        OnHide();
}

} // namespace quillory
