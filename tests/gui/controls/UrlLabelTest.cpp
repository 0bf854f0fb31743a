// The link label: its look, what a click opens, the pressed colour, and "Copy".
#include "controls/UrlLabel.h"

#include "app/forms/FurnitureResources.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace quillory;

namespace {

// Stands in for the system's "open" so that no browser starts.
class OpenRecorder : public QObject {
    Q_OBJECT

public:
    OpenRecorder()
    {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~OpenRecorder() override
    {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

TEST(UrlLabelTest, LooksLikeALink)
{
    InitFurnitureResources();
    TUrlLabel label;
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_EQ(label.ActiveColor(), QColor(128, 0, 128));
    EXPECT_TRUE(label.URL().isEmpty());
    EXPECT_EQ(label.cursor().shape(), Qt::BitmapCursor);  // the program's own hand
    ASSERT_EQ(label.PopupMenu()->actions().size(), 1);
    EXPECT_EQ(label.PopupMenu()->actions().front()->text(), QStringLiteral("Copy"));
}

TEST(UrlLabelTest, TargetIsTheUrlUnlessBlankThenTheCaption)
{
    struct Case { const char* url; const char* caption; const char* target; };
    const Case cases[] = {
        {"https://a.example/", "caption", "https://a.example/"},
        {"   ", "www.b.example", "www.b.example"},
        {"", "  ", ""},
    };
    for (const auto& c : cases) {
        TUrlLabel label;
        label.SetURL(QString::fromLatin1(c.url));
        label.setText(QString::fromLatin1(c.caption));
        EXPECT_EQ(label.Target(), QString::fromLatin1(c.target)) << c.url << "|" << c.caption;
    }
}

TEST(UrlLabelTest, ClickOpensTheTargetAndShowsTheActiveColourWhilePressed)
{
    OpenRecorder recorder;
    TUrlLabel label;
    label.setText(QStringLiteral("www.quillory.example"));
    label.resize(200, 20);
    label.show();

    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    EXPECT_TRUE(recorder.opened.isEmpty());
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::blue));
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(recorder.opened.front().host(), QStringLiteral("www.quillory.example"));

    TUrlLabel blank;
    blank.Click();
    EXPECT_EQ(recorder.opened.size(), 1);
}

TEST(UrlLabelTest, CopyPutsTheCaptionOnTheClipboard)
{
    TUrlLabel label;
    label.setText(QStringLiteral("Quillory!"));
    label.SetURL(QStringLiteral("https://elsewhere.example/"));
    label.PopupMenu()->actions().front()->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Quillory!"));
}

} // namespace

#include "UrlLabelTest.moc"
