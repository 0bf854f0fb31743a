// TWPRichTextSetMode: the link between an editor and its toolbar, ruler and status bar. After
// every caret move, selection change or edit it shows the insertion attributes on the toolbar's
// icons and lists, the caret paragraph on the ruler and the editor's state on the status bar.
#pragma once

#include "richtext/qt/RichText.h"
#include "richtext/tools/Messages.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace quillory {

class TWPRuler;
class TWPStatusBarBasic;
class TWPToolBar;

class TWPRichTextSetMode : public QObject {
    Q_OBJECT

public:
    // The editor's bridge, made on first use; it lives as long as the editor.
    static TWPRichTextSetMode& Of(TWPRichText& editor);

    TWPRichText& Editor() const noexcept { return editor_; }

    TWPToolBar* WPToolBar() const;
    void SetWPToolBar(TWPToolBar* toolBar);
    TWPRuler* WPRuler() const;
    void SetWPRuler(TWPRuler* ruler);
    TWPStatusBarBasic* StatusBar() const;
    void SetStatusBar(TWPStatusBarBasic* statusBar);

    // Fired by the toolbar's spell-check icon unless the editor is read-only.
    std::function<void(TWPRichText&)> StartSpellCheck;

    // Shows the caret's state on every attached tool.
    void Update();
    // Status text of item 4: one of the messages (WPMsg::Ready when idle, Reading, Writing, ...).
    void SetStatusText(int message);

private:
    explicit TWPRichTextSetMode(TWPRichText& editor);
    void updateToolBars();
    void updateRuler();
    void updateStatus();
    MessageLanguage language() const noexcept;
    QString message(int number) const;

    TWPRichText& editor_;
    QPointer<TWPToolBar> toolBar_;
    QPointer<TWPRuler> ruler_;
    QPointer<TWPStatusBarBasic> statusBar_;
    int statusMessage_ = WPMsg::Ready;
};

// The editor's tool properties, set from either side.
inline void SetWPToolBar(TWPRichText& editor, TWPToolBar* toolBar)
{
    TWPRichTextSetMode::Of(editor).SetWPToolBar(toolBar);
}
inline void SetWPRuler(TWPRichText& editor, TWPRuler* ruler)
{
    TWPRichTextSetMode::Of(editor).SetWPRuler(ruler);
}
inline void SetStatusBar(TWPRichText& editor, TWPStatusBarBasic* statusBar)
{
    TWPRichTextSetMode::Of(editor).SetStatusBar(statusBar);
}

} // namespace quillory
