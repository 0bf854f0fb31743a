// A small diary in a temporary program folder, with or without a password, and the check that
// every entry opens with the password stored in QL.INI. Shared by the re-keying tests and the
// password dialog tests.
#pragma once

#include "TempFolder.h"
#include "app/Crypt.h"
#include "app/PasswordChange.h"
#include "app/Settings.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace quillory::testing_support {

class PasswordDiary {
public:
    // `entries` RTF entries; the third crosses a cipher block boundary.
    explicit PasswordDiary(const std::string& password, int entries = 3)
    {
        SetProgramFolder(folder_.withSlash());
        for (int i = 0; i < entries; ++i) {
            std::string rtf = "{\\rtf1\\ansi Day " + std::to_string(i + 1) + " \\'e9t\\'e9";
            if (i == 2)
                rtf += std::string(4100, 'x');
            rtf += "}";
            const std::string name = "2026120" + std::to_string(i + 1) + ".QLE";
            plain_[name] = rtf;
            folder_.write("Entries/" + name, password.empty() ? rtf : EncipherBuffer(rtf, password));
        }
        if (entries == 0)
            std::filesystem::create_directories(folder_.path() / "Entries");
        // Something that is no entry, and settings the password change must leave alone.
        folder_.write("Entries/notes.txt", "not an entry");
        folder_.write("QL.INI", "[Default Font]\nName=Courier New\n[Security]\nPassword=" +
                                    (password.empty() ? std::string() : EncryptString(password)) + "\n");
    }

    const std::filesystem::path& Path() const noexcept { return folder_.path(); }
    const std::map<std::string, std::string>& Plain() const noexcept { return plain_; }

    std::string Stored() const { return StoredPassword(IniFile(folder_.path() / "QL.INI")); }

    // Raw bytes of every file in Entries, by name.
    std::map<std::string, std::string> EntryBytes() const
    {
        std::map<std::string, std::string> files;
        for (const auto& item : std::filesystem::directory_iterator(folder_.path() / "Entries"))
            files[item.path().filename().string()] = folder_.read("Entries/" + item.path().filename().string());
        return files;
    }

    // The state a start must find: no journal, no staging folder, no plain copy, the other
    // settings as they were, and every entry deciphering with the stored password.
    void ExpectOpensWith(const std::string& password) const
    {
        EXPECT_EQ(Stored(), password);
        EXPECT_FALSE(std::filesystem::exists(folder_.path() / "Rekeying.ini"));
        EXPECT_FALSE(std::filesystem::exists(folder_.path() / "Entries.rekey"));
        EXPECT_FALSE(FileExistsNoCase(folder_.path() / "Eraseme.rtf"));
        EXPECT_EQ(IniFile(folder_.path() / "QL.INI").ReadString("Default Font", "Name", ""), "Courier New");
        const auto files = EntryBytes();
        EXPECT_EQ(files.size(), plain_.size() + 1);
        EXPECT_EQ(files.count("notes.txt") ? files.at("notes.txt") : "", "not an entry");
        for (const auto& [name, rtf] : plain_) {
            ASSERT_TRUE(files.count(name)) << name;
            const std::string& stored = files.at(name);
            // Compared whole, but not printed: a wrong key gives a screenful of noise.
            EXPECT_TRUE((password.empty() ? stored : DecipherBuffer(stored, password)) == rtf)
                << name << " does not open with '" << password << "'";
        }
    }

private:
    TempFolder folder_;
    std::map<std::string, std::string> plain_;
};

// Thrown by a checkpoint hook to stop a run as a crash would: not an Error, so no undo runs.
struct Crash {};

// Runs one password change that crashes right after its `steps`-th step; returns the steps
// done, or all of them when the run ended first.
inline std::vector<RekeyPoint> RunUntil(const std::string& oldPassword, const std::string& newPassword, int steps)
{
    std::vector<RekeyPoint> passed;
    RekeyObserver observer;
    observer.checkpoint = [&](RekeyPoint point) {
        passed.push_back(point);
        if (static_cast<int>(passed.size()) == steps)
            throw Crash{};
    };
    try {
        ProcessPassword(oldPassword, newPassword, observer);
    } catch (const Crash&) {
    }
    return passed;
}

} // namespace quillory::testing_support
