// TAutoBackups: the worker that backs the diary up at close and at start, and the notice bar.
#include "app/forms/AutoBackups.h"

#include "app/AutoBackup.h"
#include "app/EntryStore.h"
#include "app/forms/BusyCursor.h"
#include "app/forms/Main.h"
#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillory {

TBackupNotice::TBackupNotice(const QString& text, QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("BackupNotice"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 244, 200));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 4, 4);
    NoticeLabel = new QLabel(text, this);
    NoticeLabel->setObjectName(QStringLiteral("NoticeLabel"));
    NoticeLabel->setWordWrap(true);
    BackUpNowButton = new QPushButton(tr("Back Up Now"), this);
    BackUpNowButton->setObjectName(QStringLiteral("BackUpNowButton"));
    DismissButton = new QPushButton(tr("Not Now"), this);
    DismissButton->setObjectName(QStringLiteral("DismissButton"));
    layout->addWidget(NoticeLabel, 1);
    layout->addWidget(BackUpNowButton);
    layout->addWidget(DismissButton);
}

TAutoBackups::TAutoBackups(TMainScreen* window) : QObject(window), window_(window)
{
    setObjectName(QStringLiteral("AutoBackups"));
    startTimer_.setSingleShot(true);
    startTimer_.setInterval(kStartDelayMs);
    connect(&startTimer_, &QTimer::timeout, this, &TAutoBackups::CheckAtStart);
}

TAutoBackups::~TAutoBackups()
{
    Wait();
}

void TAutoBackups::Queue(std::function<void()> job)
{
    // Each job first waits for the one before it, so that a close's backup follows the start's.
    worker_ = std::thread([previous = std::move(worker_), job = std::move(job)]() mutable {
        if (previous.joinable())
            previous.join();
        try {
            job();
        } catch (...) {
            // RunAutoBackup has recorded its failure; the next start's notice tells of it.
        }
    });
}

void TAutoBackups::Wait()
{
    if (worker_.joinable())
        worker_.join();
}

void TAutoBackups::AtStart()
{
    startTimer_.start();
}

void TAutoBackups::CheckAtStart()
{
    startTimer_.stop();
    Queue([this] {
        try {
            RunAutoBackup(AutoBackupOccasion::Start);
        } catch (const Error&) {
            // recorded: the notice below tells of it when it matters
        }
        const AutoBackupSettings settings = LoadAutoBackupSettings();
        const auto found = FindAutoBackups(BackupFolderOf(settings));
        const std::string text = OverdueBackupNotice(
            settings, LoadBackupRecord(), found.empty() ? std::nullopt : std::optional<LocalTime>(found.front().time),
            !EntryDaysBetween(Day::First(), Day::Last()).empty(), Now());
        if (!text.empty())
            QMetaObject::invokeMethod(this, [this, text] { ShowNotice(QString::fromStdString(text)); },
                                      Qt::QueuedConnection);
    });
}

void TAutoBackups::AtClose()
{
    startTimer_.stop();  // a start that never got to its check leaves it to this backup
    Queue([] { RunAutoBackup(AutoBackupOccasion::Close); });
}

void TAutoBackups::ShowNotice(const QString& text)
{
    if (noticeGiven_ || !window_->isVisible())
        return;
    noticeGiven_ = true;
    auto* layout = qobject_cast<QVBoxLayout*>(window_->centralWidget()->layout());
    if (!layout)
        return;
    notice_ = new TBackupNotice(text, window_->centralWidget());
    layout->insertWidget(0, notice_);
    notice_->show();
    connect(notice_->BackUpNowButton, &QPushButton::clicked, this, &TAutoBackups::BackUpNow);
    connect(notice_->DismissButton, &QPushButton::clicked, this, &TAutoBackups::HideNotice);
}

void TAutoBackups::HideNotice()
{
    if (notice_)
        notice_->deleteLater();
    notice_ = nullptr;
}

void TAutoBackups::BackUpNow()
{
    if (!window_->SaveButtonClick())
        return;
    AutoBackupResult result;
    try {
        BusyCursor busy;
        Wait();
        result = RunAutoBackup(AutoBackupOccasion::Request);
    } catch (const Error& error) {
        ShowMessageBox(QString::fromStdString(error.what()), QStringLiteral("Quillory"), MessageButtons::Ok,
                       MessageIcon::Error);
        return;
    }
    if (result.step != AutoBackupStep::Written) {
        ShowInformation(QString::fromStdString(AutoBackupResultText(result)));
        return;
    }
    HideNotice();
    ShowInformation(tr("The diary was backed up and checked: %1 in \"%2\".")
                        .arg(QString::fromStdString(BackupContentsText(result.outcome.entries, result.outcome.settings)),
                             QString::fromStdString(result.outcome.archive.string())));
}

} // namespace quillory
