// TWPToolBar: the editor's toolbar. Drop-down lists for font, size and colours and icon groups
// for character styles, alignment, editing, files, printing and database moves; pressing an icon
// acts on the attached editor (UpdateObject) and then tells the application.
#pragma once

#include "richtext/qt/RichText.h"
#include "richtext/tools/ToolBarTable.h"

#include <QFrame>
#include <QPointer>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QToolButton;

namespace quillory {

enum class TWPFontChoice : std::uint8_t { fsPrinterFonts, fsScreenFonts };

// The panel that holds a toolbar's own items and the application's controls, and chains to a
// further toolbar that shows the same editor.
class TWPCustomToolPanel : public QFrame {
    Q_OBJECT

public:
    static constexpr int MaxExternalControls = 100;

    explicit TWPCustomToolPanel(QWidget* parent = nullptr);

    // Takes an application control into the panel, after the built-in groups. The 101st and any
    // later one are ignored (false).
    bool AddControl(QWidget* control);
    const std::vector<QPointer<QWidget>>& ExternalControls() const noexcept { return external_; }
    QSize sizeHint() const override;
    // The panel wraps its items into rows: the narrower, the taller.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return flow(width, false); }

    // Kept for forms that set it; the panel has no in-place activation to lock.
    bool Locked = false;

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The built-in items in order; a null entry starts a new group.
    virtual std::vector<QWidget*> builtInItems() const = 0;
    virtual int groupGap() const = 0;
    void arrange();

private:
    // Places the items in rows from the left, wrapping at the panel's width; returns the height.
    int flow(int width, bool place) const;

    std::vector<QPointer<QWidget>> external_;
};

class TWPToolBar : public TWPCustomToolPanel {
    Q_OBJECT

public:
    explicit TWPToolBar(QWidget* parent = nullptr);
    ~TWPToolBar() override;

    // --- which items are offered ---------------------------------------------------------
    ToolListSet sel_ListBoxes() const noexcept { return lists_; }
    void Setsel_ListBoxes(ToolListSet lists);
    ToolIconSet sel_StatusIcons() const noexcept { return statusIcons_; }
    void Setsel_StatusIcons(ToolIconSet icons);
    ToolIconSet sel_EditIcons() const noexcept { return editIcons_; }
    void Setsel_EditIcons(ToolIconSet icons);
    ToolIconSet sel_ActionIcons() const noexcept { return actionIcons_; }
    void Setsel_ActionIcons(ToolIconSet icons);
    ToolIconSet sel_DatabaseIcons() const noexcept { return databaseIcons_; }
    void Setsel_DatabaseIcons(ToolIconSet icons);

    int FontSizeFrom() const noexcept { return fontSizeFrom_; }
    void SetFontSizeFrom(int points);
    int FontSizeTo() const noexcept { return fontSizeTo_; }
    void SetFontSizeTo(int points);
    TWPFontChoice FontChoice = TWPFontChoice::fsPrinterFonts;
    int WidthBetweenGroups() const noexcept { return gap_; }
    void SetWidthBetweenGroups(int pixels);
    // Font names are shown in their own face in the font list.
    bool ShowFont() const noexcept { return showFont_; }
    void SetShowFont(bool on);
    // Hint texts as "key=text" lines; keys not given take the texts of the editor's language.
    QStringList Hints() const { return hints_; }
    void SetHints(const QStringList& hints);

    // The editor the toolbar acts on and follows.
    TWPRichText* UpdateObject() const { return editor_; }
    void SetUpdateObject(TWPRichText* editor);
    // A toolbar that shows the same editor. Throws Error("Error: NextToolBar Loop") when the chain
    // would come back to this toolbar.
    TWPToolBar* NextToolBar() const { return next_; }
    void SetNextToolBar(TWPToolBar* next);

    // Told after the built-in handling of an icon (typ 6 pressed, 7 released) or a list entry
    // (typ 1; num is the list's number, str the entry, index its place in the list).
    using IconSelectEvent = std::function<void(TWPToolBar& sender, int& typ, QString& str, int group,
                                               int num, int index)>;
    IconSelectEvent OnIconSelection;

    // --- display, set by the editor's bridge ---------------------------------------------------
    void SetIconDown(ToolIconId id, bool down);
    bool IsIconDown(ToolIconId id) const;
    // List 1 shows the name, list 2 the size `value`, lists 3 and 4 the colour index `value`.
    void SetListValue(int listNumber, int value, const QString& name = {});
    // Re-applies the hint texts when the editor's language changed.
    void ApplyLanguage(TWPToolLanguage language);

    // The widgets, for forms that adjust them and for tests; null when not offered.
    QToolButton* IconButton(ToolIconId id) const;
    QComboBox* ListBox(ToolListId id) const;

    // Presses an icon as a click does: the built-in action, then OnIconSelection.
    void IconSelection(ToolIconId id, int typ);
    // The result of the last file command: 0 success, 7 failure, 9 dialog cancelled.
    int LastFileResult() const noexcept { return lastFileResult_; }

protected:
    std::vector<QWidget*> builtInItems() const override;
    int groupGap() const override { return gap_; }

private:
    void rebuild();
    void fillLists();
    void applyHints();
    QString hintFor(std::string_view key, std::string_view english, std::string_view german) const;
    void iconClicked(ToolIconId id, bool checked);
    void listChosen(ToolListId id, int index);
    TWPRichText* targetEditor() const;
    void fireSelection(int typ, QString str, int group, int number, int index);

    // Built-in actions (ToolBarActions.cpp).
    void characterAction(ToolIconId id, int typ);
    void alignmentAction(ToolIconId id);
    void editAction(ToolIconId id);
    void fileAction(ToolIconId id);
    void listAction(ToolListId id, int index);

    ToolListSet lists_;
    ToolIconSet statusIcons_, editIcons_, actionIcons_, databaseIcons_;
    int fontSizeFrom_ = 7;
    int fontSizeTo_ = 72;
    int gap_ = 4;
    bool showFont_ = false;
    QStringList hints_;
    TWPToolLanguage language_ = TWPToolLanguage::twpEnglish;
    QPointer<TWPRichText> editor_;
    QPointer<TWPToolBar> next_;
    QPointer<TWPToolBar> chainedFrom_;
    int lastFileResult_ = 0;
    bool missingFontShown_ = false; // the font list's first entry is a font the system lacks

    std::vector<QToolButton*> buttons_; // indexed by ToolIconId; null when not offered
    std::array<QComboBox*, 6> listBoxes_{};
    std::vector<QWidget*> items_;
};

} // namespace quillory
