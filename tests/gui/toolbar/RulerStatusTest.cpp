// The ruler and the status bar beside a real editor: dragging markers and tabs changes the caret
// paragraph, the status bar follows the editor's language, format and file name.
#include "ToolBarTestFixture.h"

#include "platform/qt/MessageBoxes.h"
#include "richtext/tools/Messages.h"

#include <QTest>

using namespace quillory;
using quillory::testing::EditorWindow;

namespace {

class RulerTest : public EditorWindow {
protected:
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(ruler, Qt::LeftButton, {}, from);
        QTest::mouseMove(ruler, to);
        QTest::mouseRelease(ruler, Qt::LeftButton, {}, to);
    }
    int lower() const { return ruler->height() - 3; }
};

TEST_F(RulerTest, DraggingAMarkerSetsThatIndentOfTheCaretParagraph)
{
    struct Case {
        RulerMarker marker;
        int toTwips;
        int TParagraph::*changed;
        int expected;
    };
    write(QStringLiteral("first\rsecond"));
    editor->GoTo(8);
    int selections = 0;
    ruler->OnSelection = [&](TWPRuler&) { ++selections; };
    const int width = ruler->Paragraph().widthTwips;
    const Case cases[] = {
        {RulerMarker::LeftIndent, 1440, &TParagraph::leftIndent, 1440},
        {RulerMarker::FirstIndent, 720, &TParagraph::firstIndent, 720},
        // The right marker stands at the margin; moving it an inch in makes an indent of an inch.
        {RulerMarker::RightIndent, width - 1440, &TParagraph::rightIndent, 1440},
    };
    for (const Case& c : cases) {
        const QRect marker = ruler->MarkerRect(c.marker);
        drag(marker.center(), QPoint(ruler->XOfTwips(c.toTwips) + 1, marker.center().y()));
        const TParagraph& second = *firstParagraph().next();
        EXPECT_EQ(second.*c.changed, c.expected);
        EXPECT_EQ(firstParagraph().*c.changed, 0) << "only the caret's paragraph moves";
    }
    EXPECT_EQ(selections, 3);
    EXPECT_EQ(ruler->Paragraph().leftIndent, 1440);
    EXPECT_EQ(ruler->Paragraph().firstIndent, 720);
    EXPECT_EQ(changes, 3);
}

TEST_F(RulerTest, ClickSetsATabAndDraggingItOffRemovesIt)
{
    write(QStringLiteral("a\tb"));
    ruler->SetNewTabKind(TTabKind::tkRight);
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(ruler->XOfTwips(2880), lower()));
    ASSERT_EQ(ruler->Paragraph().tabs.size(), 1u);
    const RulerParagraph::Tab tab = ruler->Paragraph().tabs.front();
    EXPECT_EQ(tab.position, 2880);
    EXPECT_EQ(tab.kind, TTabKind::tkRight);
    EXPECT_TRUE((firstParagraph().tabMask >> tab.index) & 1);

    const QPoint at = ruler->TabRect(tab).center();
    drag(at, QPoint(at.x(), ruler->height() + 30));
    EXPECT_TRUE(ruler->Paragraph().tabs.empty());
    EXPECT_EQ(firstParagraph().tabMask, 0u);
}

TEST_F(RulerTest, TabKindBoxChoosesTheKindWhenAllKindsAreOffered)
{
    write(QStringLiteral("x"));
    ruler->SetNewTabKind(TTabKind::tkAll);
    EXPECT_EQ(ruler->ClickTabKind(), TTabKind::tkLeft);
    QTest::mouseClick(ruler, Qt::LeftButton, {}, ruler->TabKindBox().center());
    EXPECT_EQ(ruler->ClickTabKind(), TTabKind::tkCenter);
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(ruler->XOfTwips(1440), lower()));
    ASSERT_EQ(ruler->Paragraph().tabs.size(), 1u);
    EXPECT_EQ(ruler->Paragraph().tabs.front().kind, TTabKind::tkCenter);
}

TEST_F(RulerTest, DoubleClickAsksBeforeRemovingAllTabs)
{
    write(QStringLiteral("x"));
    for (int twips : {1440, 2880})
        QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(ruler->XOfTwips(twips), lower()));
    ASSERT_EQ(ruler->Paragraph().tabs.size(), 2u);

    MessageBoxScript boxes;
    boxes.Answer(MessageResult::No).Answer(MessageResult::Yes);
    QTest::mouseDClick(ruler, Qt::LeftButton, {}, QPoint(5, 3));
    EXPECT_EQ(ruler->Paragraph().tabs.size(), 2u);
    QTest::mouseDClick(ruler, Qt::LeftButton, {}, QPoint(5, 3));
    EXPECT_TRUE(ruler->Paragraph().tabs.empty());
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Delete all tabstops?"));
}

TEST_F(RulerTest, ReadOnlyEditorKeepsItsIndentsAndTabs)
{
    write(QStringLiteral("x"));
    editor->SetReadOnly(true);
    const QRect marker = ruler->MarkerRect(RulerMarker::LeftIndent);
    drag(marker.center(), QPoint(ruler->XOfTwips(1440), marker.center().y()));
    QTest::mouseClick(ruler, Qt::LeftButton, {}, QPoint(ruler->XOfTwips(2880), lower()));
    EXPECT_EQ(firstParagraph().leftIndent, 0);
    EXPECT_EQ(firstParagraph().tabMask, 0u);
    EXPECT_EQ(ruler->Paragraph().leftIndent, 0);
}

TEST_F(RulerTest, CentimetresSnapToTheMetricGrid)
{
    write(QStringLiteral("x"));
    ruler->SetUnits(TWPRulerUnits::wCentimeter);
    const QRect marker = ruler->MarkerRect(RulerMarker::LeftIndent);
    drag(marker.center(), QPoint(ruler->XOfTwips(567 * 2), marker.center().y()));
    EXPECT_EQ(firstParagraph().leftIndent % 141, 0);
    EXPECT_NEAR(firstParagraph().leftIndent, 567 * 2, 141 / 2 + 1);
}

class StatusBarTest : public EditorWindow {};

TEST_F(StatusBarTest, ShowsStateInTheEditorsLanguage)
{
    struct Case {
        TWPToolLanguage language;
        MemoryFormat format;
        const char* status;
        const char* formatText;
    };
    const Case cases[] = {
        {TWPToolLanguage::twpEnglish, MemoryFormat::fmRichText, "Ready", "RICH"},
        {TWPToolLanguage::twpEnglish, MemoryFormat::fmPlainText, "Ready", "PLAIN"},
        {TWPToolLanguage::twpGerman, MemoryFormat::fmRichText, "Bereit", "FMT"},
        {TWPToolLanguage::twpGerman, MemoryFormat::fmPlainText, "Bereit", "NORM"},
    };
    for (const Case& c : cases) {
        editor->SetLanguage(c.language);
        editor->RtfText().setMemoryFormat(c.format);
        editor->GoTo(0);
        EXPECT_EQ(statusBar->Item(TWPStatusBarBasic::StatusItem), QString::fromUtf8(c.status));
        EXPECT_EQ(statusBar->Item(TWPStatusBarBasic::FormatItem), QString::fromUtf8(c.formatText));
    }
    EXPECT_EQ(statusBar->Item(TWPStatusBarBasic::FileNameItem), QStringLiteral(" "));
    EXPECT_EQ(statusBar->Item(7), QString());
}

TEST(Messages, GermanTextsHaveTheEnglishNumberPlusAHundred)
{
    EXPECT_EQ(WPMessage(WPMsg::Ready), "Ready");
    EXPECT_EQ(WPMessage(WPMsg::Ready, MessageLanguage::German), "Bereit");
    EXPECT_EQ(WPMessage(WPMsg::Ready + WPMsg::GermanOffset), "Bereit");
    EXPECT_EQ(WPMessage(WPMsg::DeleteAllTabs, MessageLanguage::German), "Tabulatoren löschen");
    EXPECT_EQ(WPMessage(WPMsg::FileFilter + WPMsg::GermanOffset),
              "Formatierte Texte|*.RTF|HTML Dateien|*.HTM|Textdateien|*.TXT|alle Dateien (*.*)|*.*");
    EXPECT_EQ(WPMessage(56000), "");
    EXPECT_EQ(WPMessage(56114), "");
}

} // namespace
