// TMainScreen: finding entries - the date selector behind the calendar button, and the search
// for a text across all entries (Find Any, Find Next, Find All).
#include "app/forms/Main.h"

#include "app/DateTexts.h"
#include "app/EntryFiles.h"
#include "app/EntrySearch.h"
#include "app/forms/Convnot.h"
#include "app/forms/Datesel.h"
#include "app/forms/Foundlist.h"
#include "app/forms/Lookfor.h"
#include "controls/Calglyph.h"
#include "platform/qt/CenterForm.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/MessageBoxes.h"
#include "platform/qt/ModalRunner.h"
#include "platform/qt/QtText.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <memory>
#include <span>

namespace quillory {

namespace {

// The hourglass for as long as the object lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// "Processing entry for 12/06/2026", in the short date format with the locale's separator.
QString ProcessingText(Day day)
{
    const char separator = LocaleDateSeparator();
    return QStringLiteral("Processing entry for ") + QString::fromStdString(ShortDateText(day, separator));
}

} // namespace

// --- the date selector ----------------------------------------------------------------------------

void TMainScreen::ListEntryDays(std::vector<std::string>& days, int year, int month)
{
    quillory::ListEntryDays(days, year, month);
}

void TMainScreen::CalendarButtonClick()
{
    if (!SaveButtonClick())
        return;  // the day on screen stays, with its unsaved text
    TDateSelector selector(this);
    CenterForm(selector);
    selector.InitialDate = CurrentDay;
    selector.OnGetEntryDays = [this](std::vector<std::string>& days, int year, int month) {
        ListEntryDays(days, year, month);
    };
    if (RunModal(selector) == QDialog::Accepted)
        ShowDay(selector.Calendar->SelectedDate());
}

// --- the search across entries --------------------------------------------------------------------

void TMainScreen::LoadRichTextAllPurp()
{
    WPRichTextAllPurpose->Clear();
    if (!EntryFileExists(CurrentDay))
        return;
    try {
        // Deciphered in memory: no plain copy of a protected entry reaches the disk.
        const std::string bytes = ReadEntry(CurrentDay, Settings.DiaryPassword);
        WPRichTextAllPurpose->LoadFromStream(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    } catch (const std::exception&) {
        // A file gone or unreadable since it was listed loads as an empty text.
    }
    WPRichTextAllPurpose->GoTo(0);
}

void TMainScreen::SetSearching(bool searching)
{
    searching_ = searching;
    for (QAction* command : {mnuFindentrycontaining, mnuFindAll})
        command->setEnabled(!searching);
    if (searching)
        mnuFindNextBig->setEnabled(false);
}

void TMainScreen::WalkForMatch(Day last)
{
    const EntryQuery finder(QStringToText(LastSearchText));
    WaitCursor hourglass;
    auto progress = std::make_unique<TConvertNotify>(this);
    progress->WhatAmIdoing->setText(tr("Searching..."));
    progress->show();
    SetSearching(true);
    struct Done {
        TMainScreen& window;
        ~Done() { window.SetSearching(false); }
    } done{*this};

    SearchHooks hooks;
    hooks.visiting = [&](Day day) {
        progress->Status->setText(ProcessingText(day));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    hooks.found = [&](Day day, const TextMatch&) {
        // The hidden editor has the last word, so that the match is the one FindText selects.
        CurrentDay = day;
        LoadRichTextAllPurp();
        if (!WPRichTextAllPurpose->FindText(LastSearchText))
            return true;
        LastSearchFound = true;
        return false;
    };
    SearchEntries(CurrentDay, last, finder, Settings.DiaryPassword, hooks);
    if (!LastSearchFound)
        CurrentDay = last + 1;
}

void TMainScreen::FinishFind(Day remembered)
{
    mnuFindNextBig->setEnabled(LastSearchFound);
    if (!LastSearchFound) {
        CurrentDay = remembered;
        ShowInformation(tr("No matches"));
    }
    FindDateRecord();
    LoadRichText();
    if (LastSearchFound)
        WPRichText1->FindText(LastSearchText);
}

void TMainScreen::mnuFindentrycontainingClick()
{
    if (searching_ || !SaveButtonClick())
        return;
    const Day remembered = CurrentDay;
    QString query;
    {
        TLookForAll dialog(this);
        CenterForm(dialog);
        if (RunModal(dialog) != QDialog::Accepted)
            return;
        query = dialog.LookForText->text();
    }
    if (!query.isEmpty()) {
        const Day last = LastDiaryRecord();
        CurrentDay = FirstDiaryRecord();
        LastSearchText = query;
        LastSearchFound = false;
        WalkForMatch(last);
    }
    FinishFind(remembered);
}

void TMainScreen::mnuFindNextBigClick()
{
    // Unlike the old program, the entry on screen is saved first: the walk ends by loading
    // another day (or this one again), which would drop unsaved text.
    if (searching_ || LastSearchText.isEmpty() || !SaveButtonClick())
        return;
    const Day remembered = CurrentDay;
    const Day last = LastDiaryRecord();
    CurrentDay = CurrentDay + 1;
    LastSearchFound = false;
    WalkForMatch(last);
    FinishFind(remembered);
}

void TMainScreen::mnuFindAllClick()
{
    if (searching_ || !SaveButtonClick())
        return;
    QString query;
    {
        TLookForAll dialog(this);
        dialog.setWindowTitle(tr("Find all entries containing"));
        CenterForm(dialog);
        if (RunModal(dialog) != QDialog::Accepted)
            return;
        query = dialog.LookForText->text();
    }
    if (query.isEmpty())
        return;

    if (FoundEntries)
        FoundEntries->close();
    auto* list = new TFoundEntries(query, this);
    FoundEntries = list;
    list->OnChoose = [this, query](Day day) { ShowFoundEntry(day, query); };
    list->show();

    // Find Next goes on from the day on screen with this query.
    LastSearchText = query;
    LastSearchFound = false;
    {
        const EntryQuery finder(QStringToText(query));
        SetSearching(true);
        struct Done {
            TMainScreen& window;
            ~Done() { window.SetSearching(false); }
        } done{*this};
        SearchHooks hooks;
        hooks.cancelled = [this] { return !FoundEntries; };  // the list was closed: the search ends with it
        hooks.visiting = [&](Day day) {
            if (FoundEntries)
                FoundEntries->SetStatus(ProcessingText(day));
            // The list stays usable while the walk goes on: a row can be chosen at once.
            QCoreApplication::processEvents();
        };
        hooks.found = [&](Day day, const TextMatch& match) {
            if (!FoundEntries)
                return false;
            FoundEntries->AddMatch(day, TextToQString(match.context));
            LastSearchFound = true;
            return true;
        };
        SearchEntries(FirstDiaryRecord(), LastDiaryRecord(), finder, Settings.DiaryPassword, hooks);
    }
    mnuFindNextBig->setEnabled(LastSearchFound);
    if (FoundEntries)
        FoundEntries->SearchDone();
}

void TMainScreen::ShowFoundEntry(Day day, const QString& query)
{
    if (!SaveButtonClick())
        return;
    ShowDay(day);
    WPRichText1->FindText(query);
}

} // namespace quillory
