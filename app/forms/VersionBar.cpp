// The bar of other versions above the page, and the read-only window that shows one.
#include "app/forms/VersionBar.h"

#include "app/EntryStore.h"
#include "platform/Error.h"
#include "platform/Files.h"
#include "platform/SyncedFile.h"
#include "platform/qt/MessageBoxes.h"
#include "richtext/qt/RichText.h"

#include <QComboBox>
#include <QDialog>
#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <span>

namespace quillory {

namespace {

QString SourceText(VersionSource source)
{
    switch (source) {
    case VersionSource::SyncConflict:
        return TVersionBar::tr("Syncthing's conflict copy");
    case VersionSource::ConflictedCopy:
        return TVersionBar::tr("conflicted copy of the sync service");
    case VersionSource::CaseConflict:
        return TVersionBar::tr("case conflict copy of the sync service");
    case VersionSource::ChangedElsewhere:
        return TVersionBar::tr("changed on another computer while open here");
    case VersionSource::ReplacedHere:
        return TVersionBar::tr("yours, replaced by another version");
    }
    return {};
}

QString ModifiedText(const EntryVersion& version)
{
    const LocalTime when = LocalTimeOfFile(version.modified);
    return QStringLiteral("%1 %2:%3")
        .arg(QString::fromStdString(IsoText(when.day)))
        .arg(when.hour, 2, 10, QLatin1Char('0'))
        .arg(when.minute, 2, 10, QLatin1Char('0'));
}

QString NoticeText(const std::vector<EntryVersion>& versions)
{
    const bool elsewhere = std::all_of(versions.begin(), versions.end(),
                                       [](const EntryVersion& v) { return FromElsewhere(v.source); });
    if (versions.size() == 1)
        return elsewhere ? TVersionBar::tr("This day has 1 other version from another computer")
                         : TVersionBar::tr("This day has 1 other version");
    const QString count = QString::number(versions.size());
    return elsewhere ? TVersionBar::tr("This day has %1 other versions from another computer").arg(count)
                     : TVersionBar::tr("This day has %1 other versions").arg(count);
}

void ShowError(const std::exception& error)
{
    ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                   MessageIcon::Error);
}

} // namespace

TVersionBar::TVersionBar(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("VersionBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 244, 196));  // a note pinned over the page
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    Message = new QLabel(this);
    Message->setObjectName(QStringLiteral("VersionMessage"));
    QFont bold = Message->font();
    bold.setBold(true);
    Message->setFont(bold);
    Choice = new QComboBox(this);
    Choice->setObjectName(QStringLiteral("VersionChoice"));
    Choice->setAccessibleName(tr("Other version"));
    Choice->setAccessibleDescription(tr("The other version of this day the buttons act on"));
    Choice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const auto button = [this](const QString& caption, const char* name, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        return b;
    };
    ViewButton = button(tr("&View"), "VersionView", tr("Show this version in a window of its own, read-only"));
    AppendButton = button(tr("&Append it below mine"), "VersionAppend",
                          tr("Add this version's text below the entry, and keep the version in \"Old versions\""));
    UseButton = button(tr("&Use it instead of mine"), "VersionUse",
                       tr("Make this version the entry; the entry is kept as a version of the day"));
    // Alt+D is Delete Entry and Alt+I the Find menu: Dismiss takes M.
    DismissButton = button(tr("Dis&miss"), "VersionDismiss",
                           tr("Remove this version from the day, after a question; it is kept in \"Old versions\""));

    auto* top = new QHBoxLayout;
    top->addWidget(Message);
    top->addWidget(Choice);
    top->addStretch(1);
    auto* actions = new QHBoxLayout;
    for (QPushButton* b : {ViewButton, AppendButton, UseButton, DismissButton})
        actions->addWidget(b);
    actions->addStretch(1);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(8, 4, 8, 4);
    rows->setSpacing(3);
    rows->addLayout(top);
    rows->addLayout(actions);

    connect(ViewButton, &QPushButton::clicked, this, &TVersionBar::ViewClick);
    connect(AppendButton, &QPushButton::clicked, this, &TVersionBar::AppendClick);
    connect(UseButton, &QPushButton::clicked, this, &TVersionBar::UseClick);
    connect(DismissButton, &QPushButton::clicked, this, &TVersionBar::DismissClick);
    connect(Choice, &QComboBox::currentIndexChanged, this, &TVersionBar::ChoiceChanged);
    hide();
}

void TVersionBar::ShowDay(Day day)
{
    day_ = day;
    showing_ = true;
    if (!watcher_) {
        watcher_ = new QFileSystemWatcher(this);
        connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { Refresh(); });
    }
    const auto entries = FindNoCase(EntriesFolder());
    if (entries && watcher_->directories().isEmpty())
        watcher_->addPath(QString::fromStdString(entries->string()));
    Refresh();
}

void TVersionBar::Refresh()
{
    if (!showing_)
        return;
    std::vector<EntryVersion> versions = ListVersions(day_);
    const bool same = versions.size() == versions_.size()
        && std::equal(versions.begin(), versions.end(), versions_.begin(), [](const auto& a, const auto& b) {
               return a.file == b.file && a.modified == b.modified;
           });
    if (same && isHidden() == versions.empty())
        return;  // the folder changed elsewhere: nothing to redraw, and the choice stays
    versions_ = std::move(versions);
    const QSignalBlocker quiet(Choice);
    Choice->clear();
    for (const EntryVersion& version : versions_) {
        Choice->addItem(tr("%1, %2").arg(ModifiedText(version), SourceText(version.source)));
        Choice->setItemData(Choice->count() - 1, QString::fromStdString(version.Name()), Qt::ToolTipRole);
    }
    Message->setText(versions_.empty() ? QString() : NoticeText(versions_));
    ChoiceChanged();
    setVisible(!versions_.empty());
}

const EntryVersion* TVersionBar::Chosen() const
{
    const int index = Choice->currentIndex();
    return index >= 0 && std::size_t(index) < versions_.size() ? &versions_[std::size_t(index)] : nullptr;
}

void TVersionBar::ChoiceChanged()
{
    const EntryVersion* version = Chosen();
    bool opens = false;
    if (version) {
        try {
            ReadVersion(*version, Password ? Password() : std::string());
            opens = true;
        } catch (const std::exception&) {
        }
    }
    Choice->setToolTip(version ? QString::fromStdString(version->Name()) : QString());
    for (QPushButton* b : {ViewButton, AppendButton, UseButton})
        b->setEnabled(opens);
    DismissButton->setEnabled(version != nullptr);
    const QString locked = tr("This version does not open with this diary's password. Dismissed, it is kept "
                              "in \"Old versions\".");
    setToolTip(version && !opens ? locked : QString());
}

void TVersionBar::ViewClick()
{
    const EntryVersion* version = Chosen();
    if (!version)
        return;
    std::string content;
    try {
        content = ReadVersion(*version, Password ? Password() : std::string());
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    // A window of its own beside the page, read-only: nothing typed there goes anywhere.
    auto* window = new QDialog(this->window());
    window->setObjectName(QStringLiteral("VersionWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(tr("Other version of %1 - %2")
                               .arg(QString::fromStdString(IsoText(version->day)), QString::fromStdString(version->Name())));
    auto* text = new TWPRichText(window);
    text->setObjectName(QStringLiteral("VersionText"));
    text->SetWordWrap(true);
    text->LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
    text->SetReadOnly(true);
    auto* close = new QPushButton(tr("Close"), window);
    connect(close, &QPushButton::clicked, window, &QDialog::close);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(text, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    window->resize(520, 420);
    window->show();
}

void TVersionBar::Settle(const std::function<SettledVersion(const EntryVersion&, std::string_view)>& settle)
{
    const EntryVersion* chosen = Chosen();
    if (!chosen)
        return;
    const EntryVersion version = *chosen;
    // The page's unsaved text first: what is settled is the entry as the user sees it.
    if (SavePage && !SavePage())
        return;
    try {
        const SettledVersion settled = settle(version, Password ? Password() : std::string());
        if (const std::string notice = ConflictNotice(version.day, settled.saved); !notice.empty())
            ShowMessageBox(QString::fromStdString(notice), QStringLiteral("Quillory"), MessageButtons::Ok,
                           MessageIcon::Warning);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    if (ReloadPage)
        ReloadPage();
    Refresh();
}

void TVersionBar::AppendClick()
{
    Settle(AppendVersion);
}

void TVersionBar::UseClick()
{
    Settle(UseVersion);
}

void TVersionBar::DismissClick()
{
    const EntryVersion* chosen = Chosen();
    if (!chosen)
        return;
    const EntryVersion version = *chosen;
    if (!AskConfirm(tr("Dismiss this version of the day? It leaves the day, and is kept in the diary's "
                       "\"Old versions\" folder.")))
        return;
    try {
        SetVersionAside(version);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    Refresh();
}

} // namespace quillory
