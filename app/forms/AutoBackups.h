// TAutoBackups: the main window's automatic backups. The backup at close and the one made up for
// at start run on a worker thread, so that neither closing nor starting waits for them; the
// notice of an unsafe diary is shown once per start in a bar across the top of the window.
#pragma once

#include <QFrame>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <thread>

class QLabel;
class QPushButton;

namespace quillory {

class TMainScreen;

// The bar that says the diary has no recent backup, with a button to make one now.
class TBackupNotice : public QFrame {
    Q_OBJECT

public:
    TBackupNotice(const QString& text, QWidget* parent);

    QLabel* NoticeLabel = nullptr;
    QPushButton* BackUpNowButton = nullptr;
    QPushButton* DismissButton = nullptr;
};

class TAutoBackups : public QObject {
    Q_OBJECT

public:
    // How long after the window shows the start's check runs: the start itself comes first.
    static constexpr int kStartDelayMs = 3000;

    explicit TAutoBackups(TMainScreen* window);
    // Waits for a backup still being written: the window has gone by then.
    ~TAutoBackups() override;
    TAutoBackups(const TAutoBackups&) = delete;
    TAutoBackups& operator=(const TAutoBackups&) = delete;

    // The window showed for the first time: the start's check follows a little later.
    void AtStart();
    // On the worker: a backup made up for when the last one is overdue, then the notice when
    // the diary is not safe (shown on the window's thread, once per start).
    void CheckAtStart();
    // The window closes, its entry and settings saved: the close's backup, on the worker.
    void AtClose();
    // "Back Up Now": saves the entry on screen, backs up into the backup folder whatever the
    // rules say, and says how it went.
    void BackUpNow();
    // Waits until the worker is idle.
    void Wait();

    // The notice bar while it shows, else null.
    TBackupNotice* Notice() const { return notice_; }

private:
    // Runs `job` on the worker after whatever it is doing now.
    void Queue(std::function<void()> job);
    void ShowNotice(const QString& text);
    void HideNotice();

    TMainScreen* window_;
    QTimer startTimer_;
    std::thread worker_;
    bool noticeGiven_ = false;
    QPointer<TBackupNotice> notice_;
};

} // namespace quillory
