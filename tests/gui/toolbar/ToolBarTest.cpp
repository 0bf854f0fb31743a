// The toolbar on a real editor: icons and lists change the selection or the insertion
// attributes, follow the caret, and obey read-only; external controls and chained toolbars.
#include "ToolBarTestFixture.h"

#include "TempFolder.h"
#include "platform/Error.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace quillory;
using quillory::testing::EditorWindow;

namespace {

class ToolBarTest : public EditorWindow {};

TEST_F(ToolBarTest, BoldIconBoldsOnlyTheSelectionAndKeepsItsOtherStyles)
{
    write(QStringLiteral("Hello world"), 2, 2);
    TAttr italic = editor->GetCurrentAttr();
    italic.style |= AttrStyle::Italic;
    editor->SetCurrentAttr(italic); // "ll" italic
    editor->SelStart(0);
    editor->SelLength(5);
    changes = 0;

    QTest::mouseClick(&icon(ToolIconId::SelBold), Qt::LeftButton);

    for (long i = 0; i < 5; ++i)
        EXPECT_TRUE(attrAt(i).hasStyle(AttrStyle::Bold)) << i;
    EXPECT_FALSE(attrAt(5).hasStyle(AttrStyle::Bold));
    // Bold goes on top of what the characters had: the italic "ll" stays, the rest stays upright.
    EXPECT_TRUE(attrAt(2).hasStyle(AttrStyle::Italic));
    EXPECT_FALSE(attrAt(0).hasStyle(AttrStyle::Italic));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(icon(ToolIconId::SelBold).isChecked());
    EXPECT_FALSE(icon(ToolIconId::SelNormal).isChecked());

    // Pressing it again releases it and takes bold away.
    QTest::mouseClick(&icon(ToolIconId::SelBold), Qt::LeftButton);
    EXPECT_FALSE(attrAt(0).hasStyle(AttrStyle::Bold));
    EXPECT_TRUE(attrAt(2).hasStyle(AttrStyle::Italic));
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(icon(ToolIconId::SelBold).isChecked());
}

TEST_F(ToolBarTest, WithoutSelectionTheIconsSetWhatIsTypedNext)
{
    write(QStringLiteral("plain"));
    editor->GoTo(5);
    QTest::mouseClick(&icon(ToolIconId::SelUnder), Qt::LeftButton);
    editor->InsertText(QStringLiteral("U"));
    EXPECT_FALSE(attrAt(4).hasStyle(AttrStyle::Underline));
    EXPECT_TRUE(attrAt(5).hasStyle(AttrStyle::Underline));
}

TEST_F(ToolBarTest, ReadOnlyEditorIgnoresIconsAndLists)
{
    write(QStringLiteral("Hello"), 0, 5);
    editor->SetReadOnly(true);
    const TAttr before = attrAt(0);

    for (ToolIconId id : {ToolIconId::SelBold, ToolIconId::SelItalic, ToolIconId::SelSuper, ToolIconId::SelCenter})
        QTest::mouseClick(&icon(id), Qt::LeftButton);
    QComboBox* sizes = toolBar->ListBox(ToolListId::SelFontSize);
    ASSERT_NE(sizes, nullptr);
    sizes->lineEdit()->setText(QStringLiteral("20"));
    QTest::keyClick(sizes->lineEdit(), Qt::Key_Return);

    EXPECT_EQ(attrAt(0), before);
    EXPECT_EQ(editor->GetCurrentAttr().style, before.style);
    EXPECT_EQ(firstParagraph().alignment, Alignment::Left);
    EXPECT_EQ(changes, 0);
    // The icons show the text as it is, not what was pressed.
    EXPECT_FALSE(icon(ToolIconId::SelBold).isChecked());
    EXPECT_TRUE(icon(ToolIconId::SelLeft).isChecked());
    EXPECT_FALSE(icon(ToolIconId::SelCenter).isChecked());
}

TEST_F(ToolBarTest, SuperscriptAndSubscriptExcludeEachOther)
{
    struct Case {
        ToolIconId first, second;
        std::uint8_t expected, excluded;
    };
    const Case cases[] = {
        {ToolIconId::SelSub, ToolIconId::SelSuper, AttrStyle::Superscript, AttrStyle::Subscript},
        {ToolIconId::SelSuper, ToolIconId::SelSub, AttrStyle::Subscript, AttrStyle::Superscript},
    };
    write(QStringLiteral("x2"), 1, 1);
    for (const Case& c : cases) {
        QTest::mouseClick(&icon(c.first), Qt::LeftButton);
        QTest::mouseClick(&icon(c.second), Qt::LeftButton);
        EXPECT_TRUE(attrAt(1).hasStyle(c.expected));
        EXPECT_FALSE(attrAt(1).hasStyle(c.excluded));
        EXPECT_TRUE(icon(c.second).isChecked());
        EXPECT_FALSE(icon(c.first).isChecked());
    }
}

TEST_F(ToolBarTest, HiddenAndRtfCodeIconsSwitchTheirFlagOnAndOff)
{
    toolBar->Setsel_StatusIcons({ToolIconId::SelHidden, ToolIconId::SelRTFCode});
    write(QStringLiteral("flagged"), 0, 4);
    for (auto [id, flag] : {std::pair{ToolIconId::SelHidden, AttrFlag::Hidden}, std::pair{ToolIconId::SelRTFCode, AttrFlag::RtfCode}}) {
        QTest::mouseClick(&icon(id), Qt::LeftButton);
        EXPECT_TRUE(attrAt(1).hasFlag(flag)) << int(id);
        EXPECT_FALSE(attrAt(5).hasFlag(flag)) << int(id);
        EXPECT_TRUE(icon(id).isChecked()) << int(id);
        // A second press takes the flag away again; without that, RTF code could not be undone.
        QTest::mouseClick(&icon(id), Qt::LeftButton);
        EXPECT_FALSE(attrAt(1).hasFlag(flag)) << int(id);
        EXPECT_FALSE(icon(id).isChecked()) << int(id);
    }
    EXPECT_EQ(changes, 4);
}

TEST_F(ToolBarTest, NormalTakesEveryStyleAway)
{
    write(QStringLiteral("styled"), 0, 6);
    for (ToolIconId id : {ToolIconId::SelBold, ToolIconId::SelStrikeOut, ToolIconId::SelSub})
        QTest::mouseClick(&icon(id), Qt::LeftButton);
    ASSERT_NE(attrAt(3).style, 0);
    QTest::mouseClick(&icon(ToolIconId::SelNormal), Qt::LeftButton);
    EXPECT_EQ(attrAt(3).style, 0);
    editor->GoTo(3);
    EXPECT_TRUE(icon(ToolIconId::SelNormal).isChecked());
}

TEST_F(ToolBarTest, AlignmentIconsSetTheSelectedParagraphsAndFollowTheCaret)
{
    write(QStringLiteral("one\rtwo\rthree"), 0, 5); // the first two paragraphs
    QTest::mouseClick(&icon(ToolIconId::SelCenter), Qt::LeftButton);
    const TParagraph& one = firstParagraph();
    EXPECT_EQ(one.alignment, Alignment::Center);
    EXPECT_EQ(one.next()->alignment, Alignment::Center);
    EXPECT_EQ(one.next()->next()->alignment, Alignment::Left);
    EXPECT_EQ(changes, 1);

    editor->GoTo(10); // in "three"
    EXPECT_TRUE(icon(ToolIconId::SelLeft).isChecked());
    EXPECT_FALSE(icon(ToolIconId::SelCenter).isChecked());
    editor->GoTo(1);
    EXPECT_TRUE(icon(ToolIconId::SelCenter).isChecked());
}

TEST_F(ToolBarTest, ListsShowAndSetFontSizeAndColours)
{
    write(QStringLiteral("Sized"), 0, 5);
    QComboBox* sizes = toolBar->ListBox(ToolListId::SelFontSize);
    QComboBox* colours = toolBar->ListBox(ToolListId::SelFontColor);
    ASSERT_TRUE(sizes && colours);

    sizes->lineEdit()->setText(QStringLiteral("20"));
    QTest::keyClick(sizes->lineEdit(), Qt::Key_Return);
    colours->activated(colours->findData(3)); // blue, as a person picks it from the list
    EXPECT_EQ(attrAt(2).pointSize(), 20);
    EXPECT_EQ(attrAt(2).textColor(), 3);

    editor->GoTo(2);
    EXPECT_EQ(sizes->currentText(), QStringLiteral("20"));
    EXPECT_EQ(colours->currentData().toInt(), 3);
    const FontEntry* font = editor->RtfText().header().font(attrAt(2).font);
    ASSERT_NE(font, nullptr);
    QComboBox* names = toolBar->ListBox(ToolListId::SelFontName);
    EXPECT_EQ(names->currentText(), QString::fromStdString(font->name));

    // Another font from the list goes into the font table and onto the selection.
    const int other = names->findText(QStringLiteral("Liberation Serif"));
    ASSERT_GE(other, 0);
    editor->SelStart(0);
    editor->SelLength(5);
    names->activated(other);
    EXPECT_EQ(editor->RtfText().header().font(attrAt(1).font)->name, "Liberation Serif");
    EXPECT_EQ(attrAt(1).pointSize(), 20) << "the size stays";
    editor->GoTo(1);
    EXPECT_EQ(names->currentText(), QStringLiteral("Liberation Serif"));
}

// Font names are UTF-8 in the document: one in Polish or Japanese shows as it is written, and
// one chosen from the list goes into the font table whole (it used to be left out of the list).
TEST_F(ToolBarTest, FontNamesOfAnyScriptShowAndGoIntoTheFontTable)
{
    write(QStringLiteral("Pismo \u0416"), 0, 5);
    QComboBox* names = toolBar->ListBox(ToolListId::SelFontName);
    ASSERT_NE(names, nullptr);
    TAttr attr = editor->GetCurrentAttr();
    attr.font = std::uint8_t(editor->FontIndex("Czcionka \u0141\u00f3d\u017a"));
    editor->SetCurrentAttr(attr);
    editor->GoTo(2);
    EXPECT_EQ(names->currentText(), QStringLiteral("Czcionka \u0141\u00f3d\u017a"));

    names->addItem(QStringLiteral("\u6e38\u30b4\u30b7\u30c3\u30af"));
    editor->SelStart(0);
    editor->SelLength(5);
    names->activated(names->count() - 1);
    EXPECT_EQ(editor->RtfText().header().font(attrAt(1).font)->name, "\u6e38\u30b4\u30b7\u30c3\u30af");
    editor->GoTo(1);
    EXPECT_EQ(names->currentText(), QStringLiteral("\u6e38\u30b4\u30b7\u30c3\u30af"));
}

TEST_F(ToolBarTest, FontSizesStartAtFontSizeFrom)
{
    toolBar->SetFontSizeFrom(8);
    QComboBox* sizes = toolBar->ListBox(ToolListId::SelFontSize);
    EXPECT_EQ(sizes->itemText(0), QStringLiteral("8"));
    EXPECT_EQ(sizes->itemText(sizes->count() - 1), QStringLiteral("72"));
}

TEST_F(ToolBarTest, IconSelectionEventGetsGroupNumberAndPressOrRelease)
{
    struct Seen {
        int typ, group, num;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen;
    toolBar->OnIconSelection = [&](TWPToolBar&, int& typ, QString&, int group, int num, int) {
        seen.push_back({typ, group, num});
    };
    write(QStringLiteral("abc"), 0, 3);
    QTest::mouseClick(&icon(ToolIconId::SelItalic), Qt::LeftButton);
    QTest::mouseClick(&icon(ToolIconId::SelItalic), Qt::LeftButton);
    QTest::mouseClick(&icon(ToolIconId::SelRight), Qt::LeftButton);
    QTest::mouseClick(&icon(ToolIconId::SelSelAll), Qt::LeftButton);
    const std::vector<Seen> expected{{6, 256, 3}, {7, 256, 3}, {6, 512, 2}, {6, 768, 4}};
    EXPECT_EQ(seen, expected);
}

TEST_F(ToolBarTest, TheHundredAndFirstExternalControlIsIgnored)
{
    std::vector<QLabel*> controls;
    for (int i = 0; i < TWPCustomToolPanel::MaxExternalControls; ++i) {
        controls.push_back(new QLabel(QString::number(i), &window));
        EXPECT_TRUE(toolBar->AddControl(controls.back()));
    }
    QLabel extra(QStringLiteral("101"));
    EXPECT_FALSE(toolBar->AddControl(&extra));
    EXPECT_EQ(toolBar->ExternalControls().size(), std::size_t(TWPCustomToolPanel::MaxExternalControls));
    EXPECT_EQ(extra.parentWidget(), nullptr);
    EXPECT_EQ(controls.front()->parentWidget(), toolBar);
    // Laid out after the built-in groups.
    EXPECT_GT(controls.front()->geometry().left() + controls.front()->geometry().top() * 10000,
              icon(ToolIconId::SelReplace).geometry().left() + icon(ToolIconId::SelReplace).geometry().top() * 10000);
}

TEST_F(ToolBarTest, ChainedToolBarsFollowTheEditorAndRefuseALoop)
{
    TWPToolBar second(&window), third(&window);
    toolBar->SetNextToolBar(&second);
    second.SetNextToolBar(&third);
    EXPECT_THROW(third.SetNextToolBar(toolBar), Error);
    EXPECT_THROW(third.SetNextToolBar(&third), Error);
    EXPECT_EQ(third.NextToolBar(), nullptr);

    write(QStringLiteral("chain"), 0, 5);
    QTest::mouseClick(second.IconButton(ToolIconId::SelBold), Qt::LeftButton);
    EXPECT_TRUE(attrAt(0).hasStyle(AttrStyle::Bold));
    EXPECT_TRUE(icon(ToolIconId::SelBold).isChecked());
    EXPECT_TRUE(third.IconButton(ToolIconId::SelBold)->isChecked());
}

TEST_F(ToolBarTest, HintsComeFromTheHintListOrTheEditorsLanguage)
{
    EXPECT_EQ(icon(ToolIconId::SelBold).toolTip(), QStringLiteral("Bold"));
    editor->SetLanguage(TWPToolLanguage::twpGerman);
    editor->GoTo(0);
    EXPECT_EQ(icon(ToolIconId::SelBold).toolTip(), QStringLiteral("Fett"));
    EXPECT_EQ(icon(ToolIconId::SelReplace).toolTip(), QStringLiteral("Suchen und Ersetzen"));

    toolBar->SetHints({QStringLiteral("WPI_Bold=Bold"), QStringLiteral("WPI_Center=Centered")});
    EXPECT_EQ(icon(ToolIconId::SelBold).toolTip(), QStringLiteral("Bold"));
    EXPECT_EQ(icon(ToolIconId::SelCenter).toolTip(), QStringLiteral("Centered"));
    EXPECT_EQ(icon(ToolIconId::SelItalic).toolTip(), QStringLiteral("Kursiv"));

    // A hint the form set on a list box is its own.
    QComboBox* sizes = toolBar->ListBox(ToolListId::SelFontSize);
    sizes->setToolTip(QStringLiteral("Font Size"));
    editor->SetLanguage(TWPToolLanguage::twpEnglish);
    editor->GoTo(0);
    EXPECT_EQ(sizes->toolTip(), QStringLiteral("Font Size"));
}

TEST(ToolBarTable, EveryIconHasItsOwnGroupAndNumber)
{
    for (const ToolIconInfo& icon : ToolIcons()) {
        const ToolIconInfo* found = FindToolIcon(icon.group, icon.number);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->id, icon.id) << icon.name;
        EXPECT_FALSE(icon.hintKey.empty()) << icon.name;
    }
}

} // namespace

namespace {

class ToolBarFileTest : public EditorWindow {
protected:
    ToolBarFileTest()
    {
        toolBar->Setsel_ActionIcons({ToolIconId::SelOpen, ToolIconId::SelSave, ToolIconId::SelClose});
    }
    static std::function<int(QFileDialog&)> pick(const std::filesystem::path& path)
    {
        return [path](QFileDialog& dialog) {
            dialog.selectFile(QString::fromStdString(path.string()));
            return int(QDialog::Accepted);
        };
    }
    static int cancel(QFileDialog&) { return QDialog::Rejected; }
    TempFolder folder;
};

TEST_F(ToolBarFileTest, SaveAndCloseWriteTheFileAndCloseEmptiesOnlyWhatWasSaved)
{
    const std::filesystem::path entry = folder.path() / "entry.rtf";
    write(QStringLiteral("first words"));
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(cancel).Then<QFileDialog>(pick(entry));

    QTest::mouseClick(&icon(ToolIconId::SelSave), Qt::LeftButton);
    EXPECT_EQ(toolBar->LastFileResult(), 9);
    EXPECT_FALSE(std::filesystem::exists(entry));

    QTest::mouseClick(&icon(ToolIconId::SelSave), Qt::LeftButton);
    EXPECT_EQ(toolBar->LastFileResult(), 0);
    EXPECT_NE(folder.read("entry.rtf").find("first words"), std::string::npos);
    EXPECT_TRUE(dialogs.Finished());

    // Close saves under the remembered name without asking, then empties the editor.
    editor->GoTo(11);
    editor->InsertText(QStringLiteral(" and more"));
    QTest::mouseClick(&icon(ToolIconId::SelClose), Qt::LeftButton);
    EXPECT_EQ(toolBar->LastFileResult(), 0);
    EXPECT_TRUE(editor->IsEmpty());
    EXPECT_NE(folder.read("entry.rtf").find("first words and more"), std::string::npos);
    EXPECT_EQ(statusBar->Item(TWPStatusBarBasic::FileNameItem), QStringLiteral(" "));
}

TEST_F(ToolBarFileTest, CloseKeepsTheTextWhenTheSaveFails)
{
    write(QStringLiteral("keep me"));
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(pick(folder.path() / "missing" / "entry.rtf"));
    MessageBoxScript boxes;
    QTest::mouseClick(&icon(ToolIconId::SelClose), Qt::LeftButton);
    EXPECT_EQ(toolBar->LastFileResult(), 7);
    EXPECT_FALSE(editor->IsEmpty());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown()[0].text.startsWith(QStringLiteral("Cannot create file")));
}

TEST_F(ToolBarFileTest, OpenLoadsThePickedFileAndNamesItInTheStatusBar)
{
    const auto file = folder.write("note.rtf", "{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}\\f0\\fs24 opened\\par}");
    ModalScript dialogs;
    dialogs.Then<QFileDialog>(pick(file));
    QTest::mouseClick(&icon(ToolIconId::SelOpen), Qt::LeftButton);
    EXPECT_EQ(toolBar->LastFileResult(), 0);
    EXPECT_EQ(editor->RtfText().firstParagraph()->text(), "opened");
    EXPECT_EQ(statusBar->Item(TWPStatusBarBasic::FileNameItem), QString::fromStdString(file.string()));
}

} // namespace

namespace {

TEST_F(ToolBarTest, AnEditorFollowsOnlyTheToolBarAndRulerLastAttached)
{
    TWPToolBar other(&window);
    TWPRuler otherRuler(&window);
    other.SetUpdateObject(editor);
    SetWPRuler(*editor, &otherRuler);
    EXPECT_EQ(toolBar->UpdateObject(), nullptr);
    EXPECT_EQ(ruler->Editor(), nullptr);
    EXPECT_EQ(TWPRichTextSetMode::Of(*editor).WPToolBar(), &other);

    write(QStringLiteral("moved"), 0, 5);
    QTest::mouseClick(other.IconButton(ToolIconId::SelBold), Qt::LeftButton);
    QTest::mouseClick(toolBar->IconButton(ToolIconId::SelItalic), Qt::LeftButton);
    EXPECT_TRUE(attrAt(0).hasStyle(AttrStyle::Bold));
    EXPECT_FALSE(attrAt(0).hasStyle(AttrStyle::Italic)) << "a toolbar let go acts on nothing";
    EXPECT_FALSE(toolBar->IconButton(ToolIconId::SelBold)->isChecked());
}

} // namespace
