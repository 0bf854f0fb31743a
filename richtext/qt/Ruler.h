// TWPRuler: shows the caret paragraph's first-line, left and right indents and its tab stops on
// a scale in inches or centimetres, and lets the mouse move them: drag a marker, click the lower
// half to set a tab, drag a tab off the ruler to remove it, double-click to remove them all.
#pragma once

#include "richtext/model/TextHeader.h"

#include <QFrame>
#include <QPointer>

#include <functional>
#include <optional>
#include <vector>

namespace quillory {

class TWPRichText;

enum class TWPRulerUnits : std::uint8_t { wInch, wCentimeter };
enum class TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised };

// What the ruler shows: the caret paragraph's indents and tabs (twips from the left margin) and
// the scale it is drawn against.
struct RulerParagraph {
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    struct Tab {
        int index = -1; // in the document's tab table
        int position = 0;
        TTabKind kind = TTabKind::tkLeft;
        friend bool operator==(const Tab&, const Tab&) = default;
    };
    std::vector<Tab> tabs;
    int widthTwips = 0; // from the left margin to the right one
    int pixelsPerInch = 96;
    friend bool operator==(const RulerParagraph&, const RulerParagraph&) = default;
};

enum class RulerMarker : std::uint8_t { FirstIndent, LeftIndent, RightIndent };

class TWPRuler : public QFrame {
    Q_OBJECT

public:
    explicit TWPRuler(QWidget* parent = nullptr);

    TWPRulerUnits Units() const noexcept { return units_; }
    void SetUnits(TWPRulerUnits units);
    bool ShowNumbers() const noexcept { return showNumbers_; }
    void SetShowNumbers(bool on);
    // The kind of tab a click sets; tkAll lets the user pick it in the box at the ruler's left.
    TTabKind NewTabKind() const noexcept { return newTabKind_; }
    void SetNewTabKind(TTabKind kind);
    // The kind the next click sets.
    TTabKind ClickTabKind() const noexcept;
    int XOffset() const noexcept { return xOffset_; }
    void SetXOffset(int pixels);
    TBevelCut BevelInner() const noexcept { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);
    TBevelCut BevelOuter() const noexcept { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);

    // Told while a marker or tab is dragged, and after the ruler changed the paragraph.
    std::function<void(TWPRuler&)> WhileSelection;
    std::function<void(TWPRuler&)> OnSelection;
    // Told of every mouse press on the ruler, before the ruler handles it.
    std::function<void(TWPRuler&)> OnMouseDown;

    // The editor whose caret paragraph the ruler shows and changes.
    TWPRichText* Editor() const { return editor_; }
    void SetEditor(TWPRichText* editor);

    // Set by the editor's bridge after each caret move.
    void SetParagraph(const RulerParagraph& paragraph);
    const RulerParagraph& Paragraph() const noexcept { return shown_; }

    // Ruler pixels of a position in twips from the left margin, and back.
    int XOfTwips(int twips) const noexcept;
    int TwipsOfX(int x) const noexcept;
    // Where a marker is drawn and can be grabbed.
    QRect MarkerRect(RulerMarker marker) const;
    QRect TabRect(const RulerParagraph::Tab& tab) const;
    QRect TabKindBox() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct Drag {
        std::optional<RulerMarker> marker;
        std::optional<RulerParagraph::Tab> tab;
        bool moved = false;
        bool off = false; // a tab pulled off the ruler
    };

    // Ruler pixel of the left margin: under the editor's text when an editor is attached.
    int originX() const;
    void paintScale(class QPainter& painter);
    void paintMarkers(class QPainter& painter);
    void applyDrag(int x);
    int snap(int twips) const;
    void changed();
    void updateBevel();

    TWPRulerUnits units_ = TWPRulerUnits::wInch;
    bool showNumbers_ = true;
    TTabKind newTabKind_ = TTabKind::tkLeft;
    TTabKind pickedKind_ = TTabKind::tkLeft;
    int xOffset_ = 0;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    QPointer<TWPRichText> editor_;
    RulerParagraph shown_;
    std::optional<Drag> drag_;
};

} // namespace quillory
