// THelpWindow: the help pages in a browser of their own.
#include "app/forms/Help.h"

#include "app/HelpPages.h"
#include "platform/qt/CenterForm.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace quillory {

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Quillory Help"));
    resize(640, 560);

    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    ContentsButton = new QPushButton(tr("&Contents"), this);
    ContentsButton->setObjectName(QStringLiteral("ContentsButton"));
    BackButton = new QPushButton(tr("&Back"), this);
    BackButton->setObjectName(QStringLiteral("BackButton"));
    BackButton->setEnabled(false);
    CloseButton = new QPushButton(tr("C&lose"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    buttons->addWidget(ContentsButton);
    buttons->addWidget(BackButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    layout->addLayout(buttons);

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    // Links are followed here: pages of the help folder in this window, the rest outside.
    Browser->setOpenLinks(false);
    layout->addWidget(Browser, 1);

    connect(ContentsButton, &QPushButton::clicked, this, &THelpWindow::ShowContents);
    connect(BackButton, &QPushButton::clicked, this, &THelpWindow::Back);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(Browser, &QTextBrowser::anchorClicked, this, &THelpWindow::LinkClicked);
}

void THelpWindow::ShowContents()
{
    Show(QString(), true);
}

void THelpWindow::ShowPage(const QString& fileName)
{
    Show(fileName, true);
}

void THelpWindow::Back()
{
    if (visited_.empty())
        return;
    const QString page = visited_.back();
    visited_.pop_back();
    Show(page, false);
}

void THelpWindow::Show(const QString& page, bool remember)
{
    const QString folder = QString::fromStdString(HelpFolder());
    QString shown = page;
    if (shown.contains(u'/') || !QFileInfo(folder + shown).isFile())
        shown.clear(); // a page that is not there: the contents
    if (remember && isVisible() && shown != current_)
        visited_.push_back(current_);
    current_ = shown;
    BackButton->setEnabled(!visited_.empty());
    Browser->setSearchPaths({folder});
    if (shown.isEmpty()) {
        // The contents page is made here and written nowhere; its links name pages of the folder.
        Browser->setHtml(QString::fromStdString(HelpContentsHtml(ListHelpPages(folder.toStdString()))));
    } else {
        Browser->setSource(QUrl::fromLocalFile(folder + shown));
    }
}

void THelpWindow::LinkClicked(const QUrl& url)
{
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")
        || url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    const QString name = QFileInfo(url.path()).fileName();
    if (name.isEmpty() || name.compare(QLatin1String("contents.html"), Qt::CaseInsensitive) == 0)
        ShowContents();
    else
        ShowPage(name);
}

void ShowHelpTopic(int topic, QWidget* owner)
{
    auto* window = owner ? owner->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new THelpWindow(owner); // owned by the main window, kept for the next call
        CenterForm(*window);
    }
    (void)topic; // every topic the program asks for is the contents
    window->show();
    window->ShowContents();
    window->raise();
    window->activateWindow();
}

} // namespace quillory
