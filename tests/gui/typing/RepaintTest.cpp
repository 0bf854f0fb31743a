// What the control shows after keys that split and join paragraphs in a document of many pages:
// the window's pixels as painted bit by bit must be those of the control painted whole.
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <string>

namespace quillory {
namespace {

// Counts the paint events of a widget and keeps the area of the last one.
class PaintCounter : public QObject {
public:
    int paints = 0;
    QRect last;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            last = static_cast<QPaintEvent*>(event)->rect();
        }
        return false;
    }
};

class Repaint : public testing::Test {
protected:
    TWPRichText editor;

    void SetUp() override
    {
        editor.resize(400, 300);
        editor.show();
        QApplication::setActiveWindow(&editor);
        editor.setFocus();
    }

    // Paragraphs of one to four lines on short pages, every seventh kept with the next one, so
    // that page-break lines stand in the view and move with the text; every other one justified.
    void fill(int paragraphs)
    {
        TWPRTFText& doc = editor.RtfText();
        doc.header().paperHeight = 4000;
        doc.header().marginTop = doc.header().marginBottom = 720;
        std::string text;
        TParagraph* p = doc.firstParagraph();
        for (int i = 0; i < paragraphs; ++i) {
            if (i > 0)
                p = doc.appendParagraph(p);
            text = "paragraph " + std::to_string(i) + ":";
            for (int w = 0; w < (i * 7) % 30; ++w)
                text += " word" + std::to_string(w);
            doc.appendText(*p, text, TAttr{});
            if (i % 7 == 3)
                p->flags |= ParFlag::KeepWithNext;
            if (i % 2 == 0)
                p->alignment = Alignment::Justified;
        }
        editor.ReformatAndRepaint();
        settle();
    }

    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    void key(Qt::Key k)
    {
        QTest::keyClick(&editor, k);
        settle();
    }
    void caretToParagraph(int paragraph, int offset)
    {
        const TWPRTFText& doc = editor.RtfText();
        editor.GoTo(doc.absolutePosition({paragraph, 0, 0}) + offset);
        settle();
    }

    // The window as it stands on the (offscreen) screen, and the control painted anew.
    QImage shown() const
    {
        return editor.screen()->grabWindow(editor.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    }
    QImage paintedWhole() { return editor.grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(Repaint, EnterAndBackspaceLeaveWhatAWholePaintShows)
{
    struct Step {
        int paragraph, offset; // where the caret goes first, or -1 to stay
        Qt::Key key;
    };
    const Step steps[] = {
        {40, 12, Qt::Key_Return}, {-1, 0, Qt::Key_Backspace}, {-1, 0, Qt::Key_Return},
        {41, 0, Qt::Key_Return},  {-1, 0, Qt::Key_Backspace}, {-1, 0, Qt::Key_Backspace},
        {45, 3, Qt::Key_Return},  {-1, 0, Qt::Key_Return},   {-1, 0, Qt::Key_Return}, // down past the view
        {-1, 0, Qt::Key_Backspace}, {-1, 0, Qt::Key_Backspace}, {-1, 0, Qt::Key_Backspace},
        {30, 0, Qt::Key_Backspace}, {31, 0, Qt::Key_Backspace}, {-1, 0, Qt::Key_X},
        {34, 150, Qt::Key_Return}, {-1, 0, Qt::Key_Backspace}, {34, 60, Qt::Key_Return}, // lines above stay
        {-1, 0, Qt::Key_Backspace}, {-1, 0, Qt::Key_Backspace},
        {35, 0, Qt::Key_Backspace}, {35, 0, Qt::Key_Backspace}, {35, 0, Qt::Key_Backspace},
        {35, 0, Qt::Key_Backspace}, {35, 0, Qt::Key_Backspace}, {35, 0, Qt::Key_Backspace},
    };
    fill(90);
    int n = 0;
    for (const Step& step : steps) {
        if (step.paragraph >= 0)
            caretToParagraph(step.paragraph, step.offset);
        key(step.key);
        const QImage screen = shown();
        ASSERT_FALSE(screen.isNull());
        EXPECT_TRUE(screen == paintedWhole()) << "after step " << n;
        ++n;
    }
}

TEST_F(Repaint, ScrollingByKeysMovesWhatStaysInViewAndPaintsWhatComesIn)
{
    fill(90);
    caretToParagraph(20, 4);
    const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Return};
    int n = 0;
    for (const Qt::Key k : keys)
        for (int i = 0; i < 25; ++i, ++n) {
            const int scrolled = editor.verticalScrollBar()->value();
            key(k);
            if (editor.verticalScrollBar()->value() != scrolled)
                EXPECT_TRUE(shown() == paintedWhole()) << "after key " << n;
        }
}

TEST_F(Repaint, TheBlinkingCaretRepaintsOnlyItself)
{
    fill(90);
    caretToParagraph(40, 12);
    PaintCounter view;
    editor.viewport()->installEventFilter(&view);
    for (int blink = 0; blink < 2; ++blink) {
        const int before = view.paints;
        for (int waited = 0; view.paints == before && waited < 2000; waited += 50)
            QTest::qWait(50);
        ASSERT_GT(view.paints, before);
        EXPECT_LE(view.last.width(), 3);
        EXPECT_TRUE(shown() == paintedWhole()) << "after blink " << blink;
    }
}

TEST_F(Repaint, TheScrollBarIsRepaintedOnlyWhenItsSliderMoves)
{
    fill(1500);
    PaintCounter bar;
    editor.verticalScrollBar()->installEventFilter(&bar);
    caretToParagraph(600, 5);
    editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->value() + 100); // the caret mid-view
    settle();
    const int range = editor.verticalScrollBar()->maximum();
    const int before = bar.paints;
    // One more line in some sixty thousand pixels: the slider stays where it is.
    key(Qt::Key_Return);
    ASSERT_GT(editor.verticalScrollBar()->maximum(), range);
    EXPECT_EQ(bar.paints, before);
    // Half the document gone: the slider grows.
    editor.core().Select(0, editor.RtfText().absolutePosition({1000, 0, 0}));
    key(Qt::Key_Delete);
    EXPECT_GT(bar.paints, before);
    EXPECT_TRUE(shown() == paintedWhole());
}

} // namespace
} // namespace quillory
