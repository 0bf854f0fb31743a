// The link label: blue and underlined, a hand over it, purple while pressed, "Copy" on a right
// click.
#include "controls/UrlLabel.h"

#include "controls/HandCursor.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QMouseEvent>
#include <QUrl>

namespace quillory {

TUrlLabel::TUrlLabel(QWidget* parent) : QLabel(parent), popup_(new QMenu(this))
{
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    SetFontColor(Qt::blue);
    setCursor(HandCursor());
    QAction* copy = popup_->addAction(QStringLiteral("Copy"));
    copy->setObjectName(QStringLiteral("Copy"));
    connect(copy, &QAction::triggered, this, &TUrlLabel::CopyCaption);
}

QString TUrlLabel::Target() const
{
    if (!url_.trimmed().isEmpty())
        return url_;
    if (!text().trimmed().isEmpty())
        return text();
    return {};
}

void TUrlLabel::Click()
{
    const QString target = Target().trimmed();
    if (target.isEmpty())
        return;
    // A bare "www.example.com" or a path is what people type into a caption; make it a URL.
    QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

void TUrlLabel::CopyCaption() const
{
    QApplication::clipboard()->setText(text());
}

QColor TUrlLabel::FontColor() const
{
    return palette().color(QPalette::WindowText);
}

void TUrlLabel::SetFontColor(const QColor& color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, color);
    setPalette(colours);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        remembered_ = FontColor();
        SetFontColor(activeColor_);
    }
    QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && remembered_.isValid()) {
        SetFontColor(remembered_);
        remembered_ = QColor();
        if (rect().contains(event->position().toPoint()))
            Click();
    }
    QLabel::mouseReleaseEvent(event);
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent* event)
{
    popup_->popup(event->globalPos());
}

} // namespace quillory
