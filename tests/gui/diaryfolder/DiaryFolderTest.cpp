// "Diary Folder...": the folder chosen in the dialog becomes the setting an installed copy reads
// at its next start; choosing the default folder removes the setting; a portable copy has the
// item disabled.
#include "app/forms/Main.h"

#include "TempFolder.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/PrinterList.h"

#include <QAction>
#include <QFileDialog>
#include <QMenuBar>
#include <gtest/gtest.h>

#include <filesystem>

namespace quillory {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the test's length.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, QByteArray::fromStdString(value));
    }
    ~ScopedVariable()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

class DiaryFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFolder(folder.withSlash());
        folder.write("QL.INI", "[Opening Screen]\nshow=0\n");
        fs::create_directories(folder.path() / "Sync/diary");
    }
    void TearDown() override { SetProgramFolder(previousFolder); }

    // Picks `chosen` in the folder dialog.
    static std::function<int(QFileDialog&)> Choose(const fs::path& chosen)
    {
        return [chosen](QFileDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QStringLiteral("DiaryFolderDialog"));
            EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
            dialog.selectFile(QString::fromStdString(chosen.string()));
            return static_cast<int>(QDialog::Accepted);
        };
    }
    std::string Setting() const { return ReadDiaryFolderSetting(ProcessEnvironment()); }

    TempFolder folder;
    std::string previousFolder = DiaryFolder();
    ScopedVariable config{"XDG_CONFIG_HOME", (folder.path() / "config").string()};
    ScopedVariable data{"XDG_DATA_HOME", (folder.path() / "data").string()};
    ScopedFixedToday today{*Day::FromDate(2026, 12, 6)};
    ScopedPrinterNames printers{QStringList()};
    MessageBoxScript boxes;
};

TEST_F(DiaryFolderTest, TheChosenFolderIsStoredForTheNextStartAndTheUserIsTold)
{
    TMainScreen window;
    ASSERT_NE(window.mnuDiaryFolder, nullptr);
    EXPECT_FALSE(window.mnuDiaryFolder->isEnabled()) << "a portable copy keeps its diary beside itself";

    {
        ModalScript script;
        script.Then<QFileDialog>(Choose(folder.path() / "Sync/diary"));
        window.mnuDiaryFolderClick();
        EXPECT_TRUE(script.Finished());
    }
    EXPECT_EQ(Setting(), (folder.path() / "Sync/diary").string());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_TRUE(boxes.Shown().back().text.contains(QString::fromStdString((folder.path() / "Sync/diary").string())));
    EXPECT_EQ(DiaryFolder(), folder.withSlash()) << "this run keeps its diary";

    // Back to the default: the setting goes, so the default follows XDG_DATA_HOME.
    fs::create_directories(folder.path() / "data/quillory");
    {
        ModalScript script;
        script.Then<QFileDialog>(Choose(folder.path() / "data/quillory"));
        window.mnuDiaryFolderClick();
    }
    EXPECT_EQ(Setting(), "");
    EXPECT_EQ(IniFile(DiaryFolderSettingFile(ProcessEnvironment())).ReadString("Diary", "Folder", "?"), "");

    // Cancelled: nothing changes.
    WriteDiaryFolderSetting(ProcessEnvironment(), "/srv/diary");
    {
        ModalScript script;
        script.Then<QFileDialog>([](QFileDialog&) { return static_cast<int>(QDialog::Rejected); });
        window.mnuDiaryFolderClick();
    }
    EXPECT_EQ(Setting(), "/srv/diary");
}

} // namespace
} // namespace quillory
