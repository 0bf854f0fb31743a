// Printing and export driven from the main window as a person would: the options dialogs
// answered by script, the pages saved as a PDF and read back with poppler's tools, the
// printer set-up kept for the next printing, the export's files and summary.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "app/EntryFiles.h"
#include "app/forms/Printopt.h"
#include "app/forms/Prnstat.h"
#include "app/forms/Saveopt.h"
#include "platform/Clock.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace quillory {
namespace {

namespace fs = std::filesystem;

const Day kToday = *Day::FromDate(2016, 1, 10);
const Day kMonday = *Day::FromDate(2016, 1, 4);

// The output of a command line (poppler's pdftotext and pdfinfo).
std::string Shell(const std::string& command)
{
    std::string output;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 4096> block{};
    while (pipe && fgets(block.data(), int(block.size()), pipe.get()))
        output += block.data();
    return output;
}

std::string PdfText(const fs::path& pdf) { return Shell("pdftotext -layout '" + pdf.string() + "' -"); }
int PdfPages(const fs::path& pdf)
{
    const std::string info = Shell("pdfinfo '" + pdf.string() + "'");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? 0 : std::stoi(info.substr(at + 6));
}

std::string Entry(int paragraphs, const std::string& word)
{
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ";
    for (int i = 1; i <= paragraphs; ++i)
        rtf += word + " " + std::to_string(i) + (i < paragraphs ? "\\par " : "");
    return rtf + "}";
}

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

class OutputWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        fs::create_directories(folder.path() / "Entries");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    std::unique_ptr<TMainScreen> Open()
    {
        auto window = std::make_unique<TMainScreen>();
        window->FormActivate();
        return window;
    }

    // Print options: the scope and layout chosen, then "Save as PDF" into `pdf`; the status
    // window prints and is closed with its button.
    void ScriptSaveAsPdf(ModalScript& script, const std::function<void(TPrintOptions&)>& choose, const fs::path& pdf)
    {
        script.Then<TPrintOptions>([choose](TPrintOptions& options) {
                  options.FormActivate();
                  choose(options);
                  options.SavePdfButton->click();
                  return ModalScript::kKeepResult;
              })
            .Then<QFileDialog>([pdf](QFileDialog& dialog) {
                dialog.selectFile(QString::fromStdString(pdf.string()));
                return int(QDialog::Accepted);
            })
            .Then<TPrintStatusForm>([this](TPrintStatusForm& status) {
                status.FormActivate();
                lastStatus = status.printerstatus->text();
                status.CancelButton->click();  // now the button that closes
                return ModalScript::kKeepResult;
            });
    }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedFixedToday today{kToday};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
    QString lastStatus;
};

TEST_F(OutputWindowsTest, PrintOptionsEnableWhatTheChoiceNeeds)
{
    TPrintOptions options;
    options.StartDate = kMonday;
    options.EndDate = kToday;
    options.FormActivate();
    EXPECT_EQ(options.DateEditFrom->text(), "01/04/2016");
    EXPECT_EQ(options.DateEditTo->text(), "01/10/2016");
    struct Row {
        QRadioButton* choice;
        bool dates;
        bool layout;
    };
    for (const Row& row : {Row{options.PrintRangeOfDates, true, true}, Row{options.PrintAll, false, true},
                           Row{options.PrintCurrentOnly, false, false}}) {
        row.choice->click();
        EXPECT_EQ(options.DateEditFrom->isEnabled(), row.dates);
        EXPECT_EQ(options.DateEditTo->isEnabled(), row.dates);
        EXPECT_EQ(options.MergePages->isEnabled(), row.layout);
        EXPECT_EQ(options.EachPageSeparate->isEnabled(), row.layout);
    }
    // Without a printer only the PDF is offered.
    EXPECT_FALSE(options.OKButton->isEnabled());
    EXPECT_TRUE(options.SavePdfButton->isEnabled());
    ScopedPrinterNames one{QStringList{QStringLiteral("Office")}};
    options.SetButtons();
    EXPECT_TRUE(options.OKButton->isEnabled());
}

TEST_F(OutputWindowsTest, MergedPdfHoldsTwoShortEntriesOnOnePageUnderTheirHeadings)
{
    WriteEntry(kMonday, Entry(2, "alpha"), "");
    WriteEntry(kMonday + 1, Entry(2, "beta"), "");
    const fs::path pdf = folder.path() / "merged.pdf";
    auto window = Open();
    ModalScript script;
    ScriptSaveAsPdf(script, [](TPrintOptions& options) {
        options.PrintAll->click();
        options.MergePages->click();
    }, pdf);
    window->PrintNowClick();

    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(script.Unexpected().empty());
    EXPECT_EQ(lastStatus, "Completed");
    EXPECT_EQ(PdfPages(pdf), 1);
    const std::string text = PdfText(pdf);
    EXPECT_LT(text.find("Monday, January 4, 2016"), text.find("alpha 2"));
    EXPECT_LT(text.find("alpha 2"), text.find("Tuesday, January 5, 2016"));
    EXPECT_LT(text.find("Tuesday, January 5, 2016"), text.find("beta 2"));
    EXPECT_EQ(window->CurrentDay, kToday);  // the window shows its day again
}

TEST_F(OutputWindowsTest, SeparatePdfContinuesALongEntryUnderTheDateOnEveryPage)
{
    WriteEntry(kMonday, Entry(80, "gamma"), "Key");
    auto window = Open();
    window->SetDiaryPassword("Key");
    window->CurrentDay = kMonday;
    const fs::path pdf = folder.path() / "separate.pdf";
    ModalScript script;
    ScriptSaveAsPdf(script, [](TPrintOptions&) {}, pdf);  // the entry on screen, each page separately
    window->PrintNowClick();

    EXPECT_EQ(lastStatus, "Completed");
    const int pages = PdfPages(pdf);
    EXPECT_GE(pages, 2);
    const std::string text = PdfText(pdf);
    EXPECT_EQ(Count(text, "Monday, January 4, 2016"), pages);
    EXPECT_NE(text.find("gamma 80"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.path() / "Eraseme.rtf"));
}

TEST_F(OutputWindowsTest, CancelBetweenDaysKeepsSeparatePagesAndDropsTheMergedPdf)
{
    WriteEntry(kMonday, Entry(1, "first"), "");
    WriteEntry(kMonday + 1, Entry(1, "second"), "");
    for (const bool merged : {false, true}) {
        SCOPED_TRACE(merged);
        TPrintStatusForm status;
        status.Settings.days = {kMonday, kMonday + 1};
        status.Settings.merged = merged;
        const fs::path pdf = folder.path() / (merged ? "m.pdf" : "s.pdf");
        status.PdfFile = QString::fromStdString(pdf.string());
        // The click waits in the queue until the first day is printed.
        QTimer::singleShot(0, status.CancelButton, [&status] { status.CancelButton->click(); });
        status.FormActivate();
        EXPECT_TRUE(status.Cancelled);
        EXPECT_EQ(status.printerstatus->text(), "Cancelled");
        EXPECT_EQ(status.CancelButton->text(), "Ok");
        EXPECT_EQ(fs::exists(pdf), !merged);
        if (!merged) {
            EXPECT_NE(PdfText(pdf).find("first 1"), std::string::npos);
            EXPECT_EQ(PdfText(pdf).find("second 1"), std::string::npos);
        }
    }
}

TEST_F(OutputWindowsTest, ARangeWhoseFirstDayIsAfterItsLastPrintsNothing)
{
    WriteEntry(kMonday, Entry(1, "first"), "");
    const fs::path pdf = folder.path() / "none.pdf";
    auto window = Open();
    ModalScript script;
    ScriptSaveAsPdf(script, [](TPrintOptions& options) {
        options.PrintRangeOfDates->click();
        options.DateEditFrom->setDate(QDate(2016, 1, 9));
        options.DateEditTo->setDate(QDate(2016, 1, 1));
    }, pdf);
    window->PrintNowClick();
    EXPECT_EQ(lastStatus, "Completed");
    EXPECT_FALSE(fs::exists(pdf));
}

TEST_F(OutputWindowsTest, PrintSetupChoiceIsTheOnePrintingUsesNext)
{
    WriteEntry(kMonday, Entry(1, "wide"), "");
    ScopedPrinterNames one{QStringList{QStringLiteral("Office")}};
    auto window = Open();
    ModalScript setup;
    setup.Then<QPrintDialog>([](QPrintDialog& dialog) {
        dialog.printer()->setPageOrientation(QPageLayout::Landscape);
        return int(QDialog::Accepted);
    });
    window->PrintSetup1Click();
    EXPECT_TRUE(setup.Finished());

    const fs::path pdf = folder.path() / "wide.pdf";
    ModalScript script;
    ScriptSaveAsPdf(script, [](TPrintOptions& options) { options.PrintAll->click(); }, pdf);
    window->PrintNowClick();
    const std::string info = Shell("pdfinfo '" + pdf.string() + "'");
    const auto at = info.find("Page size:");
    ASSERT_NE(at, std::string::npos) << info;
    double width = 0, height = 0;
    ASSERT_EQ(std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &width, &height), 2) << info;
    EXPECT_GT(width, height) << info;  // landscape, as set up
}

TEST_F(OutputWindowsTest, OkPrintsOnTheKeptPrinterAJobPerEntry)
{
    WriteEntry(kMonday, Entry(1, "printed"), "");
    ScopedPrinterNames one{QStringList{QStringLiteral("Office")}};
    auto window = Open();
    window->CurrentDay = kMonday;
    // The kept printer stands in for a real one by printing into a file.
    const fs::path pdf = folder.path() / "printer.pdf";
    window->KeptPrinter().setOutputFormat(QPrinter::PdfFormat);
    window->KeptPrinter().setOutputFileName(QString::fromStdString(pdf.string()));
    ModalScript script;
    script.Then<TPrintOptions>([](TPrintOptions& options) {
              options.FormActivate();
              options.OKButton->click();
              return ModalScript::kKeepResult;
          })
        .Then<TPrintStatusForm>([this](TPrintStatusForm& status) {
            status.FormActivate();
            lastStatus = status.printerstatus->text();
            return int(QDialog::Accepted);
        });
    window->PrintNowClick();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(lastStatus, "Completed");
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Monday, January 4, 2016"), std::string::npos) << text;
    EXPECT_NE(text.find("printed 1"), std::string::npos) << text;
}

TEST_F(OutputWindowsTest, ExportWritesTheChosenEntriesAndSaysHowManyFilesWereWritten)
{
    WriteEntry(kMonday, Entry(1, "one"), "");
    WriteEntry(kMonday + 2, Entry(1, "two"), "");
    fs::create_directories(folder.path() / "out");
    fs::create_directories(folder.path() / "out" / "20160106.RTF");  // in the way of the second file
    auto window = Open();
    const std::string out = folder.withSlash() + "out";
    ModalScript script;
    script.Then<TSaveOptions>([out](TSaveOptions& options) {
        options.FormActivate();
        EXPECT_EQ(options.DirectoryListBox1->text().toStdString(), DiaryFolder());
        options.PrintAll->click();
        options.DirectoryListBox1->setText(QString::fromStdString(out));
        options.OKButton->click();
        return ModalScript::kKeepResult;
    });
    window->Export1Click();

    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(folder.read("out/20160104.RTF"), Entry(1, "one"));
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text.toStdString(),
              "Saved 1 file(s) as Rich Text Format (RTF)\nto directory: " + out + "/");
    EXPECT_TRUE(boxes.Shown()[1].text.startsWith("These entries could not be exported: 01/06/2016\n"))
        << boxes.Shown()[1].text.toStdString();
}

TEST_F(OutputWindowsTest, ExportOptionsRefuseAFolderThatDoesNotExistAndOfferTheOtherFormats)
{
    TSaveOptions options;
    options.Folder = QString::fromStdString(folder.withSlash() + "nowhere");
    options.FormActivate();
    options.OKButton->click();
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Please choose an existing folder to save to");
    EXPECT_EQ(options.result(), 0);

    options.FormatBox->setCurrentIndex(3);
    EXPECT_TRUE(options.Label3->text().contains("19981015.pdf"));
    options.DirectoryListBox1->setText(QString::fromStdString(folder.withSlash()));
    options.OKButton->click();
    EXPECT_EQ(options.result(), int(QDialog::Accepted));
    EXPECT_EQ(options.Format, ExportFormat::Pdf);
    EXPECT_EQ(options.Folder.toStdString(), folder.withSlash());
}

} // namespace
} // namespace quillory
