// TUrlLabel: a label that opens its link with the system's "open", for the about box.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

class QMenu;

namespace quillory {

class TUrlLabel : public QLabel {
    Q_OBJECT

public:
    explicit TUrlLabel(QWidget* parent = nullptr);

    const QString& URL() const noexcept { return url_; }
    void SetURL(const QString& url) { url_ = url; }
    // The font colour while the left button is held down; purple by default.
    const QColor& ActiveColor() const noexcept { return activeColor_; }
    void SetActiveColor(const QColor& color) { activeColor_ = color; }

    // What a click opens: the URL unless it is blank, else the caption; empty when both are.
    QString Target() const;
    // Asks the system to open Target(); does nothing when it is empty.
    void Click();
    // The pop-up menu's "Copy": the caption as text on the clipboard.
    void CopyCaption() const;

    QMenu* PopupMenu() const noexcept { return popup_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    QString url_;
    QColor activeColor_{128, 0, 128};
    QColor remembered_;
    QMenu* popup_ = nullptr;
};

} // namespace quillory
