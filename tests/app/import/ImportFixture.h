// A diary in a temporary folder for the import tests, and the text of its entries as lines.
#pragma once

#include "TempFolder.h"
#include "app/DiarySecurity.h"
#include "app/EntryFiles.h"
#include "app/EntryStore.h"
#include "app/EntryText.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace quillory {

class ImportTest : public ::testing::Test {
protected:
    ImportTest() { SetProgramFolder(diary.withSlash()); }
    ~ImportTest() override { SetProgramFolder(previous); }

    // The entry's paragraphs joined by '|'.
    std::string EntryText(Day day, const DiaryKey& key = {}) const
    {
        std::string text;
        ForEachEntryParagraph(ReadEntry(day, key), [&](std::string_view paragraph) {
            text += (text.empty() ? "" : "|") + std::string(paragraph);
            return false;
        });
        return text;
    }

    static Day D(int year, int month, int day) { return *Day::FromDate(year, month, day); }

    TempFolder source;  // where the tests write the other diary's files
    TempFolder diary;
    std::string previous = DiaryFolder();
};

} // namespace quillory
