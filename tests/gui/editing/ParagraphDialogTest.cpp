// The paragraph properties dialog run from the main window's button: what it shows, units and
// rounding, the first indent following the left one, a wrong entry, OK and Cancel.
#include "EditingTestFixture.h"

#include "app/forms/Parprop.h"
#include "platform/qt/ModalRunner.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace quillory {
namespace {

class ParagraphDialog : public EditingTest {
protected:
    // Opens the dialog from the button; `step` works on it as a person would and returns the
    // dialog's result.
    void Run(TMainScreen& window, std::function<int(TParagraphPropDlg&)> step)
    {
        ModalScript script;
        script.Then<TParagraphPropDlg>([&](TParagraphPropDlg& dialog) {
            dialog.show(); // showing runs FormShow
            const int result = step(dialog);
            dialog.hide();
            return result;
        });
        QTest::mouseClick(window.ParagraphSetupButton, Qt::LeftButton);
        QCoreApplication::processEvents(); // the event loop, which ends the action's undo step
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(script.Unexpected().empty());
    }
    static void Retype(QLineEdit* edit, const char* text)
    {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, QString::fromLatin1(text));
    }
    static int Ok(TParagraphPropDlg& dialog)
    {
        QTest::mouseClick(dialog.Okbutton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    }
    static TParagraph& First(TMainScreen& window) { return *window.WPRichText1->RtfText().firstParagraph(); }
};

TEST_F(ParagraphDialog, ShowsTheCaretParagraphAndOkLeavesUntouchedValuesExact)
{
    auto window = Open();
    Type(*window, "One paragraph");
    TParagraph& paragraph = First(*window);
    paragraph.leftIndent = paragraph.firstIndent = 1000;
    paragraph.rightIndent = 1440;
    paragraph.spaceBefore = 250;
    window->SaveButtonClick();

    Run(*window, [&](TParagraphPropDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Paragraph Properties"));
        EXPECT_EQ(dialog.LeftIndent->text(), QStringLiteral("0.69"));
        EXPECT_EQ(dialog.RightIndent->text(), QStringLiteral("1.00"));
        EXPECT_EQ(dialog.SpaceBeforePts->text(), QStringLiteral("12")); // 12.5 points round to even
        EXPECT_EQ(dialog.LineHeightPts->text(), QStringLiteral("0"));
        EXPECT_EQ(dialog.FirstIndentCombo->currentText(), QStringLiteral("Same as Left Indent"));
        EXPECT_FALSE(dialog.FirstIndent->isEnabled());
        EXPECT_EQ(dialog.LeftIndent->toolTip(), QStringLiteral("Specify left indent for the paragraph in inches"));
        return Ok(dialog);
    });
    // Shown rounded, but not changed by an OK that changed nothing: 1000 stays 1000, 250 stays 250
    // (read back from the texts they would become 994 and 240).
    EXPECT_EQ(paragraph.leftIndent, 1000);
    EXPECT_EQ(paragraph.firstIndent, 1000);
    EXPECT_EQ(paragraph.spaceBefore, 250);
    EXPECT_TRUE(Changed(*window)) << "OK applies the values, which marks the entry changed";
}

TEST_F(ParagraphDialog, TypedValuesAreAppliedInTheirUnitsAndFirstIndentFollowsLeft)
{
    auto window = Open();
    Type(*window, "Indented");
    Run(*window, [&](TParagraphPropDlg& dialog) {
        Retype(dialog.LeftIndent, "0.5");
        EXPECT_EQ(dialog.FirstIndent->text(), QStringLiteral("0.5")) << "follows while the same";
        Retype(dialog.SpaceBeforePts, "12.5");
        Retype(dialog.SpaceAfterPts, "");
        Retype(dialog.LineHeightPts, "18");

        dialog.ComboBox1->setCurrentIndex(1);
        EXPECT_EQ(dialog.LeftIndent->text(), QStringLiteral("1.27"));
        EXPECT_EQ(dialog.LeftIndent->toolTip(), QStringLiteral("Specify left indent for the paragraph in centimeters"));
        EXPECT_EQ(dialog.LeftIndentValue, 720) << "a unit change does not move the value";
        Retype(dialog.RightIndent, "2.54");

        dialog.FirstIndentCombo->setCurrentIndex(1);
        emit dialog.FirstIndentCombo->activated(1);
        EXPECT_TRUE(dialog.FirstIndent->isEnabled());
        EXPECT_EQ(dialog.FirstIndent->text(), QStringLiteral("1.27")) << "keeps what it showed";
        Retype(dialog.FirstIndent, "2");
        return Ok(dialog);
    });
    const TParagraph& paragraph = First(*window);
    EXPECT_EQ(paragraph.leftIndent, 720);
    EXPECT_EQ(paragraph.rightIndent, 1440);
    EXPECT_EQ(paragraph.firstIndent, 1134); // 2 cm
    EXPECT_EQ(paragraph.spaceBefore, 250);
    EXPECT_EQ(paragraph.spaceAfter, 0);
    EXPECT_EQ(paragraph.lineSpacing, 360);

    // Choosing "Same as Left Indent" again brings the first indent back to the left one.
    Run(*window, [&](TParagraphPropDlg& dialog) {
        EXPECT_EQ(dialog.FirstIndentCombo->currentIndex(), 1);
        dialog.FirstIndentCombo->setCurrentIndex(0);
        emit dialog.FirstIndentCombo->activated(0);
        EXPECT_FALSE(dialog.FirstIndent->isEnabled());
        EXPECT_EQ(dialog.FirstIndent->text(), QStringLiteral("0.50"));
        return Ok(dialog);
    });
    EXPECT_EQ(First(*window).firstIndent, 720);

    // One undo takes back the whole OK, spacing and indents together.
    Key(*window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(First(*window).firstIndent, 1134);
    EXPECT_EQ(First(*window).lineSpacing, 360);
}

TEST_F(ParagraphDialog, AWrongEntryIsReportedAndTheLastGoodValueKept)
{
    auto window = Open();
    Type(*window, "Text");
    Run(*window, [&](TParagraphPropDlg& dialog) {
        Retype(dialog.LeftIndent, "1");
        QTest::keyClicks(dialog.LeftIndent, QStringLiteral("x"));
        EXPECT_EQ(dialog.LeftIndentValue, 1440);
        Retype(dialog.RightIndent, "-");
        Retype(dialog.SpaceAfterPts, ".");
        return Ok(dialog);
    });
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("'1x' is not a valid floating point value"));
    EXPECT_EQ(boxes.Shown()[1].text, QStringLiteral("'-' is not a valid floating point value"));
    EXPECT_EQ(boxes.Shown()[2].text, QStringLiteral("'.' is not a valid floating point value"));
    EXPECT_EQ(boxes.Shown()[0].icon, MessageIcon::Error);
    EXPECT_EQ(First(*window).leftIndent, 1440);
    EXPECT_EQ(First(*window).rightIndent, 0) << "emptied first (0), then the wrong '-' kept it";
}

TEST_F(ParagraphDialog, CancelAppliesNothing)
{
    auto window = Open();
    Type(*window, "Text");
    window->SaveButtonClick();
    const std::string before = Dump(*window);
    Run(*window, [&](TParagraphPropDlg& dialog) {
        Retype(dialog.LeftIndent, "2");
        Retype(dialog.SpaceBeforePts, "30");
        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
        return ModalScript::kKeepResult;
    });
    EXPECT_EQ(Dump(*window), before);
    EXPECT_FALSE(Changed(*window));
}

TEST_F(ParagraphDialog, ASelectionOfThreeParagraphsTakesTheCaretParagraphsValues)
{
    auto window = Open();
    Type(*window, "one");
    Key(*window, Qt::Key_Return);
    Type(*window, "two");
    Key(*window, Qt::Key_Return);
    Type(*window, "three");
    TParagraph& first = First(*window);
    TParagraph& third = *first.next()->next();
    third.leftIndent = third.firstIndent = 360;
    third.spaceAfter = 100;
    window->WPRichText1->core().Select(1, 10); // from "one" into "three", the caret in "three"
    Run(*window, [&](TParagraphPropDlg& dialog) {
        EXPECT_EQ(dialog.LeftIndentValue, 360);
        Retype(dialog.RightIndent, "1");
        return Ok(dialog);
    });
    for (const TParagraph* p = &first; p; p = p->next()) {
        EXPECT_EQ(p->leftIndent, 360);
        EXPECT_EQ(p->firstIndent, 360);
        EXPECT_EQ(p->rightIndent, 1440);
        EXPECT_EQ(p->spaceAfter, 100);
    }
}

TEST_F(ParagraphDialog, TableCellsTakeTheRowForSpacingAndTheTableForIndents)
{
    auto window = Open();
    Type(*window, "a");
    Key(*window, Qt::Key_Return);
    Type(*window, "b");
    Key(*window, Qt::Key_Return);
    Type(*window, "c");
    Key(*window, Qt::Key_Return);
    Type(*window, "after");
    TParagraph& a = First(*window);
    TParagraph& b = *a.next();
    TParagraph& c = *b.next();
    a.flags = ParFlag::TableCell | ParFlag::MoreCellsFollow;  // row 1: a, b
    b.flags = ParFlag::TableCell | ParFlag::CellNotFirst;
    c.flags = ParFlag::TableCell;                              // row 2: c
    window->WPRichText1->GoTo(0);
    Run(*window, [&](TParagraphPropDlg& dialog) {
        // In a cell the space before is its padding (layout keeps the space after of cells).
        Retype(dialog.SpaceBeforePts, "6");
        Retype(dialog.LeftIndent, "1");
        return Ok(dialog);
    });
    EXPECT_EQ(a.spaceBefore, 120);
    EXPECT_EQ(b.spaceBefore, 120);
    EXPECT_EQ(c.spaceBefore, 0) << "another row";
    EXPECT_EQ(c.leftIndent, 1440) << "the same table";
    EXPECT_EQ(c.next()->leftIndent, 0);
}

} // namespace
} // namespace quillory
