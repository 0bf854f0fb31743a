// The image browser and the symbol selector driven offscreen, alone and from the main window's
// buttons, with the entry checked afterwards: photos kept as JPEG, a photo wider than the page
// narrowed to the text, symbols inserted in their font.
#include "app/forms/Imageb.h"
#include "app/forms/Main.h"
#include "app/forms/symsel.h"

#include "TempFolder.h"
#include "app/EntryStore.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"
#include "richtext/model/DocumentDump.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/SymbolFonts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const fs::path kImages = fs::path(QUILLORY_TEST_DATA) / "images";

std::string FileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// With QUILLORY_SCREENSHOTS set to a folder, a dialog is saved there to be looked at.
void SaveScreenshot(QWidget& widget, const char* name)
{
    if (const QByteArray folder = qgetenv("QUILLORY_SCREENSHOTS"); !folder.isEmpty())
        widget.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name));
}

bool SymbolFontsInstalled()
{
    static const bool installed = !AddSymbolFonts().isEmpty();
    return installed;
}

class ImageBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Names in capitals and small letters alike are pictures.
        for (const char* name : {"photo.jpg", "wide.jpg", "pic.ico", "broken.bmp", "broken.jpg", "rgb24.tga",
                                 "drawing.wmf", "unknown-record.wmf"})
            fs::copy_file(kImages / name, folder.path() / name);
        fs::copy_file(kImages / "photo.png", folder.path() / "SHOT.PNG");
        fs::copy_file(kImages / "pic.webp", folder.path() / "Pic.WebP");
        fs::copy_file(kImages / "rgb24.pcx", folder.path() / "paint.pcx");
        folder.write("notes.txt", "not a picture");
        fs::create_directory(folder.path() / "Holiday");
        browser.SetFolder(QString::fromStdString(folder.path().string()));
    }

    QStringList Files() const
    {
        QStringList names;
        for (int i = 0; i < browser.FileListBox1->count(); ++i)
            names += browser.FileListBox1->item(i)->text();
        return names;
    }

    TempFolder folder;
    MessageBoxScript boxes;
    TImageBrowser browser;
};

TEST_F(ImageBrowserTest, ListsThePicturesOfAFolderWhateverTheCaseOfTheirNames)
{
    EXPECT_EQ(Files(), (QStringList{"broken.bmp", "broken.jpg", "drawing.wmf", "paint.pcx", "photo.jpg", "pic.ico",
                                    "Pic.WebP", "rgb24.tga", "SHOT.PNG", "unknown-record.wmf", "wide.jpg"}));
    EXPECT_TRUE(browser.Panel3->text().contains(QLatin1String("*.WEBP")));
    // The folder list shows the way down to the folder, then its subfolders; entering one lists
    // its (no) pictures.
    const QListWidgetItem* last = browser.DirectoryListBox1->item(browser.DirectoryListBox1->count() - 1);
    EXPECT_EQ(last->text().trimmed(), QStringLiteral("Holiday"));
    emit browser.DirectoryListBox1->itemActivated(const_cast<QListWidgetItem*>(last));
    EXPECT_TRUE(browser.Folder().endsWith(QLatin1String("/Holiday")));
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(ImageBrowserTest, PreviewsScalesFromTheUnscaledPictureAndResetsTheScale)
{
    ASSERT_TRUE(browser.SelectFile("wide.jpg"));
    EXPECT_EQ(browser.Image1->Picture.size(), QSize(2400, 1600));
    EXPECT_EQ(browser.Image2->Picture.size(), QSize(2400, 1600));
    browser.SpinEdit1->setValue(50);
    EXPECT_EQ(browser.Image1->Picture.size(), QSize(1200, 800));
    SaveScreenshot(browser, "image-browser.png");
    browser.SpinEdit1->setValue(25);
    browser.SpinEdit1->setValue(100);
    // Rebuilt from the unscaled picture: as sharp as the original, not an enlarged thumbnail.
    EXPECT_EQ(browser.Image1->Picture, browser.Image2->Picture);

    browser.SpinEdit1->setValue(75);
    ASSERT_TRUE(browser.SelectFile("photo.jpg"));
    EXPECT_EQ(browser.SpinEdit1->value(), 100);
    EXPECT_EQ(browser.Image1->Picture.size(), QSize(64, 48));
    EXPECT_EQ(browser.SelectedBytes().size(), qsizetype(fs::file_size(folder.path() / "photo.jpg")));

    // Our own readers and Qt's plug-ins behind the same preview.
    const std::pair<const char*, QSize> previews[] = {{"paint.pcx", QSize(7, 5)}, {"rgb24.tga", QSize(7, 5)},
                                                      {"Pic.WebP", QSize(32, 24)}, {"SHOT.PNG", QSize(40, 30)},
                                                      {"pic.ico", QSize(32, 32)}, {"drawing.wmf", QSize(200, 100)}};
    for (const auto& [name, size] : previews) {
        ASSERT_TRUE(browser.SelectFile(name));
        EXPECT_EQ(browser.Image1->Picture.size(), size) << name;
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(ImageBrowserTest, UnreadableFilesEmptyThePreviewAndOnlyBitmapsSaySo)
{
    ASSERT_TRUE(browser.SelectFile("photo.jpg"));
    ASSERT_TRUE(browser.SelectFile("broken.bmp"));
    EXPECT_TRUE(browser.Image1->Picture.isNull());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, QStringLiteral("Error loading file!"));
    EXPECT_EQ(boxes.Shown()[0].icon, MessageIcon::Error);

    ASSERT_TRUE(browser.SelectFile("broken.jpg"));
    EXPECT_TRUE(browser.Image1->Picture.isNull());
    EXPECT_EQ(boxes.Shown().size(), 1u);

    // A metafile with a record our player does not draw counts as unreadable.
    ASSERT_TRUE(browser.SelectFile("unknown-record.wmf"));
    EXPECT_TRUE(browser.Image1->Picture.isNull());
    EXPECT_EQ(boxes.Shown().size(), 2u);
}

TEST_F(ImageBrowserTest, OkNeedsAFile)
{
    browser.OKButtonClick();
    EXPECT_EQ(browser.result(), QDialog::Rejected);
    ASSERT_TRUE(browser.SelectFile("photo.jpg"));
    browser.OKButtonClick();
    EXPECT_EQ(browser.result(), QDialog::Accepted);
}

TEST(ImagePlugins, AMissingPluginIsNamedForTheTypesThatNeedOne)
{
    const QList<QByteArray> onlyBasics{"bmp", "png"};
    EXPECT_TRUE(MissingImagePlugin(SmartImageTypeOf("a.JPG"), onlyBasics));
    EXPECT_TRUE(MissingImagePlugin(SmartImageTypeOf("a.webp"), onlyBasics));
    EXPECT_FALSE(MissingImagePlugin(SmartImageTypeOf("a.png"), onlyBasics));
    // Our own readers need none.
    EXPECT_FALSE(MissingImagePlugin(SmartImageTypeOf("a.pcx"), {}));
    EXPECT_FALSE(MissingImagePlugin(SmartImageTypeOf("a.tga"), {}));
    EXPECT_EQ(SmartImageTypeOf("x.y.Jif"), SmartImageType::Jif);
    EXPECT_EQ(SmartImageTypeOf("noextension"), SmartImageType::Other);
}

TEST(SymbolSelector, OpensOnTheWingdingsLikeFontAndInsertsOnDoubleClick)
{
    if (!SymbolFontsInstalled())
        GTEST_SKIP() << "no symbol fonts in " << SymbolFontFolder().toStdString();
    TSymbolSelector dialog;
    ASSERT_FALSE(dialog.NoSymbolFonts());
    EXPECT_TRUE(dialog.SymbolSets->currentText().toUpper().contains(QLatin1String("WINGDING")))
        << dialog.SymbolSets->currentText().toStdString();
    EXPECT_EQ(dialog.SymbolList->count(), 224);
    dialog.FormActivate();
    EXPECT_EQ(dialog.SymbolChar, " "); // item 0, the space
    SaveScreenshot(dialog, "symbol-selector.png");

    QListWidgetItem* circle = dialog.SymbolList->item(0x6C - 32);
    dialog.SymbolList->setCurrentItem(circle);
    emit dialog.SymbolList->itemDoubleClicked(circle);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SymbolChar, "l");
    EXPECT_EQ(dialog.SymbolFont, dialog.SymbolSets->currentText());
}

TEST(SymbolSelector, WithoutSymbolFontsItSaysSoAndCloses)
{
    MessageBoxScript boxes;
    TSymbolSelector dialog;
    dialog.LoadFontsList({QStringLiteral("Arial"), QStringLiteral("Courier New")});
    EXPECT_TRUE(dialog.NoSymbolFonts());
    ASSERT_FALSE(boxes.Shown().empty());
    EXPECT_EQ(boxes.Shown().back().text, QStringLiteral("No Symbol fonts installed"));
    dialog.show();
    QTest::qWait(20);
    EXPECT_FALSE(dialog.isVisible());
}

const Day kToday = *Day::FromDate(2026, 12, 6);

class MainPicturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        window = std::make_unique<TMainScreen>();
        window->FormActivate();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->WPRichText1->setFocus();
    }
    void TearDown() override
    {
        window.reset();
        SetProgramFolder(previousFolder);
    }

    // Runs the image browser from its button, choosing `name` of the test images.
    void InsertPicture(const char* name, int percent = 100, bool keepOriginal = false)
    {
        ModalScript script;
        script.Then<TImageBrowser>([&](TImageBrowser& browser) {
            browser.SetFolder(QString::fromStdString(kImages.string()));
            EXPECT_TRUE(browser.SelectFile(name));
            browser.SpinEdit1->setValue(percent);
            browser.KeepOriginalCheck->setChecked(keepOriginal);
            browser.OKButtonClick();
            return ModalScript::kKeepResult;
        });
        QTest::mouseClick(window->PasteGraphicButton, Qt::LeftButton);
        EXPECT_TRUE(script.Finished());
    }
    const TTextObject& LastObject() const { return *window->WPRichText1->RtfText().objects().back(); }
    std::string Saved()
    {
        QTest::mouseClick(window->SaveButton, Qt::LeftButton);
        return folder.read("Entries/" + DayKey(kToday) + ".QLE");
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
    std::unique_ptr<TMainScreen> window;
};

TEST_F(MainPicturesTest, APhotoIsKeptAsTheJpegItIsAndSavedAsOne)
{
    InsertPicture("photo.jpg");
    const TTextObject& object = LastObject();
    ASSERT_TRUE(object.graphic);
    EXPECT_EQ(object.graphic->kind, GraphicKind::Jpeg);
    EXPECT_EQ(object.graphic->bytes, FileBytes(kImages / "photo.jpg"));
    EXPECT_EQ(object.width, 64 * 15);
    EXPECT_FALSE(window->SaveButton->isHidden()); // the entry counts as changed
    const std::string saved = Saved();
    EXPECT_NE(saved.find("\\jpegblip"), std::string::npos);
    EXPECT_EQ(saved.find("\\dibitmap"), std::string::npos);
}

TEST_F(MainPicturesTest, APhotoWiderThanThePageFitsTheTextWidth)
{
    const int text = window->WPRichText1->RtfText().header().usableWidthTwips();
    InsertPicture("wide.jpg");
    const TTextObject& reduced = LastObject();
    EXPECT_EQ(reduced.width, text);
    EXPECT_EQ(reduced.height, 1600 * text / 2400);
    EXPECT_EQ(reduced.graphic->kind, GraphicKind::Jpeg);
    EXPECT_EQ(reduced.graphic->width, text * 200 / 1440);
    // Still a JPEG, a fraction of the bitmap those pixels would make.
    EXPECT_LT(reduced.graphic->bytes.size(), std::size_t(reduced.graphic->width * reduced.graphic->height));

    InsertPicture("wide.jpg", 100, true);
    const TTextObject& kept = LastObject();
    EXPECT_EQ(kept.width, text);
    EXPECT_EQ(kept.graphic->bytes, FileBytes(kImages / "wide.jpg"));
}

TEST_F(MainPicturesTest, IconsAndScaledPicturesGoInAtTheirShownSize)
{
    InsertPicture("pic.ico");
    EXPECT_EQ(LastObject().graphic->kind, GraphicKind::Dib);
    EXPECT_EQ(LastObject().graphic->width, 32);
    EXPECT_EQ(LastObject().width, 32 * 15);

    InsertPicture("photo.png", 50);
    EXPECT_EQ(LastObject().graphic->kind, GraphicKind::Png);
    EXPECT_EQ(LastObject().graphic->bytes, FileBytes(kImages / "photo.png"));
    EXPECT_EQ(LastObject().width, 20 * 15);

    InsertPicture("rgb24.tga", 200);
    EXPECT_EQ(LastObject().graphic->kind, GraphicKind::Png);
    EXPECT_EQ(LastObject().width, 14 * 15);

    // A metafile keeps its records, its box in hundredths of a millimetre.
    InsertPicture("drawing.wmf");
    EXPECT_EQ(LastObject().graphic->kind, GraphicKind::Metafile);
    EXPECT_EQ(LastObject().graphic->bytes, FileBytes(kImages / "drawing.wmf"));
    EXPECT_EQ(LastObject().graphic->width, 200 * 2540 / 96);
    EXPECT_EQ(LastObject().width, 200 * 15);
    EXPECT_EQ(window->WPRichText1->RtfText().objects().size(), 4u);
}

TEST_F(MainPicturesTest, ASymbolGoesInInItsFontAndTheFontStaysForTyping)
{
    if (!SymbolFontsInstalled())
        GTEST_SKIP() << "no symbol fonts";
    ModalScript script;
    QString font;
    script.Then<TSymbolSelector>([&](TSymbolSelector& dialog) {
        font = dialog.SymbolSets->currentText();
        dialog.SymbolList->setCurrentRow(0x6C - 32);
        dialog.CopyCharButtonClick();
        return ModalScript::kKeepResult;
    });
    QTest::mouseClick(window->SymbolSelectorButton, Qt::LeftButton);
    ASSERT_TRUE(script.Finished());
    QTest::keyClicks(window->WPRichText1, "n");

    const TWPRTFText& doc = window->WPRichText1->RtfText();
    EXPECT_EQ(DumpText(doc), "ln\n");
    const TAttr attr = window->WPRichText1->GetCurrentAttr();
    const FontEntry* entry = doc.header().font(attr.font);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(QString::fromStdString(entry->name), font);
    EXPECT_EQ(entry->charset, 2); // drawn and written as a symbol font
    const std::string saved = Saved();
    EXPECT_NE(saved.find("\\charset2 " + font.toStdString()), std::string::npos) << saved;
}

// The page as the user sees it: a symbol (Wingdings' filled circle), then a picture at half its
// size.
TEST_F(MainPicturesTest, TheEntryShowsTheSymbolAndTheScaledPicture)
{
    if (!SymbolFontsInstalled())
        GTEST_SKIP() << "no symbol fonts";
    ModalScript script;
    script.Then<TSymbolSelector>([&](TSymbolSelector& dialog) {
        dialog.SymbolList->setCurrentRow(0x6C - 32);
        dialog.CopyCharButtonClick();
        return ModalScript::kKeepResult;
    });
    QTest::mouseClick(window->SymbolSelectorButton, Qt::LeftButton);
    InsertPicture("photo.png", 50);
    window->resize(800, 600);
    QApplication::processEvents();
    SaveScreenshot(*window, "entry-symbol-picture.png");

    // The photo's red square, shown 8 x 8 at half size; left of the photo, the circle's ink (a
    // missing glyph would be a thin frame, the caret a line).
    const QImage page = window->WPRichText1->viewport()->grab().toImage();
    int red = 0, pictureLeft = page.width();
    for (int y = 0; y < std::min(page.height(), 60); ++y)
        for (int x = 0; x < std::min(page.width(), 120); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                ++red;
                pictureLeft = std::min(pictureLeft, x - 5); // the square starts 2.5 pixels in
            }
        }
    EXPECT_GE(red, 30);
    int ink = 0;
    for (int y = 0; y < std::min(page.height(), 60); ++y)
        for (int x = 0; x < std::min(pictureLeft, page.width()); ++x)
            ink += qGray(page.pixel(x, y)) < 80;
    EXPECT_GE(ink, 25);
}

} // namespace
} // namespace quillory
