// TMainScreen: the icon palette - showing and hiding it, its settings, and icons dragged from
// it onto the entry.
#include "app/forms/Main.h"

#include "app/forms/Floater.h"
#include "controls/IconCtls.h"
#include "richtext/qt/RichText.h"

#include <QApplication>
#include <QDropEvent>
#include <QScrollBar>
#include <QToolButton>

namespace quillory {

namespace {

// Sees drags over the entry's page before the editor does: icons from the palette are the main
// window's (WPRichText1DragOver, WPRichText1DragDrop); anything else goes on to the editor.
class IconDropFilter : public QObject {
public:
    IconDropFilter(TMainScreen& window, QWidget& viewport) : QObject(&viewport), window_(window) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!qobject_cast<const TIconListBox*>(drag->source()))
                return false;
            if (window_.WPRichText1DragOver(drag->source())) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!qobject_cast<const TIconListBox*>(drop->source()))
                return false;
            window_.WPRichText1DragDrop(drop->source(), drop->position().toPoint());
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            return true;
        }
        default:
            return false;
        }
    }

private:
    TMainScreen& window_;
};

} // namespace

void TMainScreen::SetIconPalette(TFloatingPalette* palette)
{
    FloatingPalette = palette;
    if (!palette)
        return;
    // Hiding the palette changes only the toggle button: the entry's Save and Cancel stay as
    // they are, or hiding it while editing would drop the unsaved text's only sign.
    palette->OnHide = [this] { SetIconToolCaption(); };
    ShowHideIconTool->setEnabled(true);
    connect(ShowHideIconTool, &QToolButton::clicked, this, &TMainScreen::ShowHideIconToolClick,
            Qt::UniqueConnection);
    QWidget* viewport = WPRichText1->viewport();
    viewport->setAcceptDrops(true);
    viewport->installEventFilter(new IconDropFilter(*this, *viewport));
    SetIconToolCaption();
}

void TMainScreen::SetIconToolCaption()
{
    const bool showing = FloatingPalette && FloatingPalette->isVisible();
    ShowHideIconTool->setText(showing ? QStringLiteral("Hide Icon Tool") : QStringLiteral("Show Icon Tool"));
}

void TMainScreen::ShowHideIconToolClick()
{
    if (!FloatingPalette)
        return;
    Settings.IconsVisible = !FloatingPalette->isVisible();
    FloatingPalette->setVisible(Settings.IconsVisible);
    SetIconToolCaption();
}

void TMainScreen::PlaceIconPalette()
{
    if (!FloatingPalette)
        return;
    FloatingPalette->move(Settings.IconsLeft, Settings.IconsTop);
    FloatingPalette->ShowIconFile(QString::fromStdString(Settings.IconsFile));
    FloatingPalette->setVisible(Settings.IconsVisible);
}

void TMainScreen::TakeIconPaletteSettings()
{
    if (!FloatingPalette)
        return;
    Settings.IconsFile = FloatingPalette->IconListBox->FileName().toStdString();
    Settings.IconsVisible = FloatingPalette->isVisible();
    Settings.IconsTop = FloatingPalette->pos().y();
    Settings.IconsLeft = FloatingPalette->pos().x();
}

void TMainScreen::HideIconPalette()
{
    if (FloatingPalette)
        FloatingPalette->hide();
}

bool TMainScreen::WPRichText1DragOver(const QObject* source) const
{
    return qobject_cast<const TIconListBox*>(source) && !WPRichText1->ReadOnly();
}

void TMainScreen::WPRichText1DragDrop(QObject* source, const QPoint& at)
{
    auto* list = qobject_cast<TIconListBox*>(source);
    if (!list || WPRichText1->ReadOnly())
        return;
    const QImage icon = list->Icon(list->currentRow());
    if (icon.isNull())
        return;
    // The icon goes where it was dropped, not where the caret happened to be.
    const int x = at.x() + WPRichText1->horizontalScrollBar()->value();
    const int y = at.y() + WPRichText1->verticalScrollBar()->value();
    WPRichText1->GoTo(WPRichText1->RtfText().absolutePosition(WPRichText1->engine().positionAt(x, y)));
    QCoreApplication::processEvents();
    if (WPRichText1->InsertGraphic(icon) == 0)
        return;
    WPRichText1->Changed();
    WPRichText1->setFocus();
}

} // namespace quillory
