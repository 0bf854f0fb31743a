// The bridge between an editor and its tools.
#include "richtext/qt/ToolBridge.h"

#include "platform/qt/QtText.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/qt/Ruler.h"
#include "richtext/qt/StatusBar.h"
#include "richtext/qt/ToolBar.h"
#include "richtext/tools/SelectionFormat.h"

namespace quillory {

namespace {

// A chain of toolbars is checked for loops when it is made; this only guards the walk.
constexpr int kMaxChain = 64;

// Character icons shown down when the insertion attributes have their style bit.
constexpr std::pair<ToolIconId, std::uint8_t> kStyleIcons[] = {
    {ToolIconId::SelBold, AttrStyle::Bold},           {ToolIconId::SelItalic, AttrStyle::Italic},
    {ToolIconId::SelUnder, AttrStyle::Underline},     {ToolIconId::SelHyperLink, AttrStyle::Hyperlink},
    {ToolIconId::SelStrikeOut, AttrStyle::StrikeOut}, {ToolIconId::SelSuper, AttrStyle::Superscript},
    {ToolIconId::SelSub, AttrStyle::Subscript},
};

ToolIconId alignmentIcon(Alignment alignment)
{
    switch (alignment) {
    case Alignment::Right: return ToolIconId::SelRight;
    case Alignment::Center: return ToolIconId::SelCenter;
    case Alignment::Justified: return ToolIconId::SelBlock;
    default: return ToolIconId::SelLeft;
    }
}

} // namespace

TWPRichTextSetMode& TWPRichTextSetMode::Of(TWPRichText& editor)
{
    if (auto* existing = editor.findChild<TWPRichTextSetMode*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new TWPRichTextSetMode(editor); // owned by the editor as its child
}

TWPRichTextSetMode::TWPRichTextSetMode(TWPRichText& editor) : QObject(&editor), editor_(editor)
{
    // The editor's core tells its host of every caret move and edit; the bridge listens after it.
    EditorCore& core = editor.core();
    core.onUpdate = [this, host = std::move(core.onUpdate)](bool textChanged) {
        if (host)
            host(textChanged);
        Update();
    };
    ProgressCallbacks& progress = editor.engine().progress;
    progress.start = [this, previous = std::move(progress.start)](long total) {
        if (previous)
            previous(total);
        SetStatusText(WPMsg::Formatting);
    };
    progress.finish = [this, previous = std::move(progress.finish)] {
        if (previous)
            previous();
        SetStatusText(WPMsg::Ready);
        updateRuler(); // a new layout width moves the right margin
    };
}

TWPToolBar* TWPRichTextSetMode::WPToolBar() const
{
    return toolBar_;
}

TWPRuler* TWPRichTextSetMode::WPRuler() const
{
    return ruler_;
}

TWPStatusBarBasic* TWPRichTextSetMode::StatusBar() const
{
    return statusBar_;
}

void TWPRichTextSetMode::SetWPToolBar(TWPToolBar* toolBar)
{
    // One toolbar per editor: the one it had lets go.
    TWPToolBar* previous = toolBar_;
    toolBar_ = toolBar;
    if (previous && previous != toolBar && previous->UpdateObject() == &editor_)
        previous->SetUpdateObject(nullptr);
    if (toolBar && toolBar->UpdateObject() != &editor_)
        toolBar->SetUpdateObject(&editor_);
    Update();
}

void TWPRichTextSetMode::SetWPRuler(TWPRuler* ruler)
{
    TWPRuler* previous = ruler_;
    ruler_ = ruler;
    if (previous && previous != ruler && previous->Editor() == &editor_)
        previous->SetEditor(nullptr);
    if (ruler && ruler->Editor() != &editor_)
        ruler->SetEditor(&editor_);
    if (ruler)
        editor_.RtfText().header().metricRuler = ruler->Units() == TWPRulerUnits::wCentimeter;
    Update();
}

void TWPRichTextSetMode::SetStatusBar(TWPStatusBarBasic* statusBar)
{
    statusBar_ = statusBar;
    Update();
}

void TWPRichTextSetMode::Update()
{
    updateToolBars();
    updateRuler();
    updateStatus();
}

void TWPRichTextSetMode::SetStatusText(int messageNumber)
{
    statusMessage_ = messageNumber;
    // Busy texts are shown at once: the work that follows keeps the event loop from painting.
    if (statusBar_ && statusBar_->SetItem(TWPStatusBarBasic::StatusItem, message(messageNumber)) && statusBar_->isVisible())
        statusBar_->repaint();
}

MessageLanguage TWPRichTextSetMode::language() const noexcept
{
    return editor_.Language() == TWPToolLanguage::twpGerman ? MessageLanguage::German : MessageLanguage::English;
}

QString TWPRichTextSetMode::message(int number) const
{
    const std::string_view text = WPMessage(number, language());
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void TWPRichTextSetMode::updateToolBars()
{
    const TAttr attr = editor_.GetCurrentAttr();
    const bool selected = editor_.SelLength() > 0;
    const TWPRTFText& document = editor_.RtfText();
    const TParagraph* paragraph = LocatePosition(document, editor_.CaretPosition()).paragraph;
    const FontEntry* font = document.header().font(attr.font);
    const QString fontName = font ? TextToQString(font->name) : QString();

    bool anyStyle = false;
    for (const auto& [icon, bit] : kStyleIcons)
        anyStyle = anyStyle || attr.hasStyle(bit);
    const bool hidden = attr.hasFlag(AttrFlag::Hidden);
    const bool rtfCode = attr.hasFlag(AttrFlag::RtfCode);

    int hops = 0;
    for (TWPToolBar* bar = toolBar_; bar && hops < kMaxChain; bar = bar->NextToolBar(), ++hops) {
        bar->ApplyLanguage(editor_.Language());
        for (const auto& [icon, bit] : kStyleIcons)
            bar->SetIconDown(icon, attr.hasStyle(bit));
        bar->SetIconDown(ToolIconId::SelHidden, hidden && selected);
        bar->SetIconDown(ToolIconId::SelRTFCode, rtfCode);
        bar->SetIconDown(ToolIconId::SelNormal, !anyStyle && !hidden && !rtfCode && !selected);
        const ToolIconId down = alignmentIcon(paragraph ? paragraph->alignment : Alignment::Left);
        for (ToolIconId icon : {ToolIconId::SelLeft, ToolIconId::SelRight, ToolIconId::SelBlock, ToolIconId::SelCenter})
            bar->SetIconDown(icon, icon == down);
        bar->SetListValue(1, attr.font, fontName);
        bar->SetListValue(2, attr.pointSize());
        bar->SetListValue(3, attr.textColor());
        bar->SetListValue(4, attr.backColor());
    }
}

void TWPRichTextSetMode::updateRuler()
{
    if (!ruler_)
        return;
    const TWPRTFText& document = editor_.RtfText();
    const TTextHeader& header = document.header();
    const TParagraph* paragraph = LocatePosition(document, editor_.CaretPosition()).paragraph;
    RulerParagraph shown;
    if (paragraph) {
        shown.firstIndent = paragraph->firstIndent;
        shown.leftIndent = paragraph->leftIndent;
        shown.rightIndent = paragraph->rightIndent;
        for (int index : TabStopsOf(document, *paragraph))
            shown.tabs.push_back({index, header.tab(index).position, header.tab(index).kind});
    }
    shown.pixelsPerInch = header.resolutionX > 0 ? header.resolutionX : editor_.logicalDpiX();
    shown.widthTwips = header.layoutWidthTwips > 0 ? header.layoutWidthTwips : header.usableWidthTwips();
    ruler_->SetParagraph(shown);
}

void TWPRichTextSetMode::updateStatus()
{
    if (!statusBar_)
        return;
    statusBar_->SetItem(TWPStatusBarBasic::StatusItem, message(statusMessage_));
    statusBar_->SetItem(TWPStatusBarBasic::FormatItem,
                        message(editor_.RtfText().isPlainText() ? WPMsg::Plain : WPMsg::Rich));
    const std::string& name = editor_.FileName();
    statusBar_->SetItem(TWPStatusBarBasic::FileNameItem, name.empty() ? QStringLiteral(" ") : QString::fromStdString(name));
}

} // namespace quillory
