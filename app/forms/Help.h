// THelpWindow: the program's help, HTML pages from the folder "help" beside the program, shown
// in a window of their own beside the diary.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QTextBrowser;
class QPushButton;
class QUrl;

namespace quillory {

class THelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // The contents, built from the pages present.
    void ShowContents();
    // A page of the help folder by its file name; the contents when there is no such page.
    void ShowPage(const QString& fileName);

    QPushButton* ContentsButton = nullptr;
    QPushButton* BackButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QTextBrowser* Browser = nullptr;

    // The page shown: a file name, empty for the contents.
    const QString& CurrentPage() const noexcept { return current_; }

private:
    void LinkClicked(const QUrl& url);
    void Back();
    void Show(const QString& page, bool remember);

    QString current_;
    std::vector<QString> visited_; // the pages before the current one
};

// The help command: shows the help window (one per main window) at the topic; every topic
// number but the contents' shows the contents too.
void ShowHelpTopic(int topic, QWidget* owner);

} // namespace quillory
