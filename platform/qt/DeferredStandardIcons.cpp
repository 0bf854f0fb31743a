// A proxy style whose standard icons are read on first use.
#include "platform/qt/DeferredStandardIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QWidget>

#include <memory>
#include <optional>

namespace quillory {

namespace {

// Stands for the base style's icon and reads it the first time it is drawn or measured.
class DeferredIconEngine final : public QIconEngine {
public:
    DeferredIconEngine(QPointer<QStyle> style, QStyle::StandardPixmap which, QPointer<QWidget> widget)
        : style_(std::move(style)), which_(which), widget_(std::move(widget))
    {
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    QString key() const override { return QStringLiteral("QuilloryDeferredStandardIcon"); }
    QIconEngine* clone() const override
    {
        auto* copy = new DeferredIconEngine(style_, which_, widget_);
        copy->icon_ = icon_;
        return copy;
    }
    // Every standard icon this program asks for exists; answering without reading keeps the
    // question (asked when a button is laid out) from reading the file.
    bool isNull() override { return icon_ ? icon_->isNull() : false; }

private:
    const QIcon& Icon()
    {
        if (!icon_)
            icon_ = style_ ? style_->standardIcon(which_, nullptr, widget_.data()) : QIcon();
        return *icon_;
    }

    QPointer<QStyle> style_;  // the base style
    QStyle::StandardPixmap which_;
    QPointer<QWidget> widget_;
    std::optional<QIcon> icon_;
};

class DeferredIconStyle final : public QProxyStyle {
public:
    explicit DeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        if (option)  // an answer that depends on the option is given now
            return QProxyStyle::standardIcon(which, option, widget);
        // The widget is only read; QPointer cannot hold a pointer to const.
        return QIcon(new DeferredIconEngine(baseStyle(), which, const_cast<QWidget*>(widget)));
    }
};

} // namespace

QStyle* StyleWithDeferredStandardIcons(QStyle* base)
{
    return new DeferredIconStyle(base);
}

} // namespace quillory
