// TMainScreen: the search panel beside the page and the index of the entries' text it searches.
#include "app/forms/Main.h"

#include "app/EntryFiles.h"
#include "app/EntryIndex.h"
#include "app/EntryStore.h"
#include "app/forms/SearchPanel.h"
#include "richtext/qt/RichText.h"

#include <QAbstractButton>
#include <QDockWidget>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace quillory {

void TMainScreen::CreateSearchPanel()
{
    Index = std::make_unique<EntryIndex>();
    SearchDock = new QDockWidget(tr("Search"), this);
    SearchDock->setObjectName(QStringLiteral("SearchDock"));
    SearchDock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    SearchPanel = new TSearchPanel(*Index, SearchDock);
    SearchDock->setWidget(SearchPanel);
    addDockWidget(Qt::RightDockWidgetArea, SearchDock);
    // The panel's title buttons are Qt's, without names for a screen reader.
    for (QAbstractButton* titleButton : SearchDock->findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        titleButton->setAccessibleName(titleButton->objectName().contains(QLatin1String("close")) ? tr("Close the search panel")
                                                                                                  : tr("Move the search panel"));
    SearchDock->hide();  // until Ctrl+Shift+F
    SearchPanel->ReadContent = [this](Day day) -> std::optional<std::string> {
        try {
            return ReadEntry(day, Settings.DiaryPassword);  // deciphered in memory
        } catch (const std::exception&) {
            return std::nullopt;
        }
    };
    SearchPanel->OnChoose = [this](const FoundPlace& place) { ShowFoundPlace(place); };
    SearchPanel->OnLeave = [this] { WPRichText1->setFocus(Qt::ShortcutFocusReason); };
}

void TMainScreen::mnuSearchEntriesClick()
{
    if (!SearchDock->isVisible()) {
        // The window grows by the panel, so that the page keeps its designed width; closing the
        // panel gives the room back.
        const int room = SearchPanel->sizeHint().width() + 20;
        resize(width() + room, height());
        // Kept on the screen: moved left as far as it grew past the screen's edge.
        if (const QScreen* display = screen()) {
            const QRect area = display->availableGeometry();
            if (frameGeometry().right() > area.right())
                move(std::max(area.left(), x() - (frameGeometry().right() - area.right())), y());
        }
        SearchDock->show();
        resizeDocks({SearchDock}, {room}, Qt::Horizontal);
        connect(SearchDock, &QDockWidget::visibilityChanged, this, [this, room](bool visible) {
            if (!visible && !isMinimized()) {
                disconnect(SearchDock, &QDockWidget::visibilityChanged, this, nullptr);
                resize(width() - room, height());
            }
        });
    }
    SearchPanel->FocusField();
}

void TMainScreen::StartIndexing()
{
    DiaryKey key;
    try {
        key = SessionKey(Settings.DiaryPassword);
    } catch (const std::exception&) {
        return;  // the password does not open the diary: nothing to read
    }
    QPointer<TSearchPanel> panel = SearchPanel;
    Index->StartBuilding(key, [panel] {
        // On the index's thread: the panel runs its query again on its own.
        if (panel)
            QMetaObject::invokeMethod(panel, &TSearchPanel::Refresh, Qt::QueuedConnection);
    });
    SearchPanel->Refresh();
}

void TMainScreen::NoteEntrySaved(Day day)
{
    try {
        if (EntryFileExists(day))
            Index->Update(day, ReadEntry(day, Settings.DiaryPassword));
        else
            Index->Remove(day);
    } catch (const std::exception&) {
        Index->Remove(day);  // unreadable now: not searchable
    }
    if (SearchDock->isVisible())
        SearchPanel->Refresh();
}

void TMainScreen::ShowFoundPlace(const FoundPlace& place)
{
    if (!SaveButtonClick())
        return;
    ShowDay(place.day);
    // The paragraph's position in the editor: each paragraph ends with one position.
    long position = 0;
    const TParagraph* paragraph = WPRichText1->RtfText().firstParagraph();
    for (std::size_t n = 0; paragraph && n < place.paragraph; ++n, paragraph = paragraph->next())
        position += paragraph->length() + 1;
    if (paragraph) {
        const long start = position + long(std::min<std::size_t>(place.start, std::size_t(paragraph->length())));
        WPRichText1->SelStart(start);
        WPRichText1->SelLength(long(place.length));
        WPRichText1->ensureCaretVisible();
    }
    WPRichText1->setFocus(Qt::OtherFocusReason);
}

} // namespace quillory
