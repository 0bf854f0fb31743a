// TMainScreen: On This Day, the tag list and the statistics window, from the Find menu.
#include "app/forms/Main.h"

#include "app/DiaryDays.h"
#include "app/EntryFiles.h"
#include "app/EntryIndex.h"
#include "app/EntryStore.h"
#include "app/forms/DiaryDaysForms.h"
#include "app/forms/SearchPanel.h"
#include "platform/Clock.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/MessageBoxes.h"

#include <QLineEdit>

namespace quillory {

std::vector<EarlierEntry> TMainScreen::EarlierEntries(Day day) const
{
    std::vector<EarlierEntry> entries;
    for (const Day earlier : OnThisDay(day, EntryDaysBetween(Day::First(), day - 1))) {
        try {
            entries.push_back(EarlierEntry{earlier, FirstLine(ReadEntry(earlier, Settings.DiaryPassword))});
        } catch (const std::exception&) {
            entries.push_back(EarlierEntry{earlier, {}});  // listed, though its text cannot be read
        }
    }
    return entries;
}

void TMainScreen::mnuOnThisDayClick()
{
    const Day today = Today();
    const std::vector<EarlierEntry> entries = EarlierEntries(today);
    if (entries.empty()) {
        ShowInformation(tr("No entries were written on this day in earlier years."));
        return;
    }
    TOnThisDay dialog(today, entries, this);
    CenterForm(dialog);
    dialog.OnChoose = [this](Day day) {
        if (SaveButtonClick())
            ShowDay(day);
    };
    RunModal(dialog);
}

void TMainScreen::mnuTagsClick()
{
    Index->Wait();  // a list of every tag needs every entry read
    TTagList dialog(Index->Tags(), this);
    CenterForm(dialog);
    dialog.OnChoose = [this](const QString& tag) {
        mnuSearchEntriesClick();
        SearchPanel->Field->setText(tag);
    };
    RunModal(dialog);
}

void TMainScreen::mnuStatisticsClick()
{
    if (!SaveButtonClick())
        return;
    Index->Wait();
    TStatistics window(ComputeStatistics(Index->Words(), Today()), this);
    CenterForm(window);
    RunModal(window);
}

} // namespace quillory
