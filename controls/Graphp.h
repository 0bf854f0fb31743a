// TGraphicPanel: a panel look without a panel's work, for the toolbar's 3-px gaps and the date
// strip of the date selector.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace quillory {

enum class PanelAlignment { Left, Right, Center };
enum class PanelBevel { None, Lowered, Raised };
enum class PanelBorderStyle { None, Single };

class TGraphicPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kDefaultSize{185, 41};

    explicit TGraphicPanel(QWidget* parent = nullptr);

    PanelAlignment Alignment() const noexcept { return alignment_; }
    void SetAlignment(PanelAlignment alignment);
    PanelBevel BevelInner() const noexcept { return bevelInner_; }
    void SetBevelInner(PanelBevel bevel);
    PanelBevel BevelOuter() const noexcept { return bevelOuter_; }
    void SetBevelOuter(PanelBevel bevel);
    int BevelWidth() const noexcept { return bevelWidth_; }
    void SetBevelWidth(int width);
    int BorderWidth() const noexcept { return borderWidth_; }
    void SetBorderWidth(int width);
    PanelBorderStyle BorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(PanelBorderStyle style);
    // Kept only; nothing reads it.
    bool Locked() const noexcept { return locked_; }
    void SetLocked(bool locked);
    const QString& Caption() const noexcept { return caption_; }
    void SetCaption(const QString& caption);
    // Defaults to the system's button face colour.
    QColor Color() const { return color_; }
    void SetColor(const QColor& color);

    QSize sizeHint() const override { return kDefaultSize; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Draws `frames` 1-px frames of a bevel and returns the rectangle inside them.
    QRect PaintBevel(QPainter& painter, QRect r, PanelBevel bevel, int frames) const;

    PanelAlignment alignment_ = PanelAlignment::Center;
    PanelBevel bevelInner_ = PanelBevel::None;
    PanelBevel bevelOuter_ = PanelBevel::Raised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    PanelBorderStyle borderStyle_ = PanelBorderStyle::None;
    bool locked_ = false;
    QString caption_;
    QColor color_;
};

} // namespace quillory
