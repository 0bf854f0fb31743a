// The toolbar's items, hints, layout and display; the icon actions are in ToolBarActions.cpp.
#include "richtext/qt/ToolBar.h"

#include "platform/Error.h"
#include "richtext/qt/ToolBridge.h"
#include "richtext/qt/ToolIcons.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QIntValidator>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace quillory {

namespace {

constexpr int kButtonSize = 24;
constexpr int kRowGap = 2;
constexpr int kMargin = 2;
// The usual steps of a font-size list; the toolbar shows those between its limits.
constexpr int kSizeSteps[] = {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 36, 40, 48, 56, 64, 72, 96};

const char* const kAppliedHint = "quilloryAppliedHint";

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Sets a hint unless the application replaced the one set before.
void setHint(QWidget* widget, const QString& hint)
{
    const QVariant applied = widget->property(kAppliedHint);
    if (!widget->toolTip().isEmpty() && (!applied.isValid() || applied.toString() != widget->toolTip()))
        return;
    widget->setToolTip(hint);
    widget->setProperty(kAppliedHint, hint);
    // An icon has no words of its own: screen readers call it by its hint.
    widget->setAccessibleName(hint);
    widget->setAccessibleDescription(hint);
}

QColor toQColor(const RGBColor& c)
{
    return QColor(c.red, c.green, c.blue);
}

} // namespace

// --- the panel --------------------------------------------------------------------------------

TWPCustomToolPanel::TWPCustomToolPanel(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

bool TWPCustomToolPanel::AddControl(QWidget* control)
{
    if (!control || int(external_.size()) >= MaxExternalControls)
        return false;
    control->setParent(this);
    control->show();
    external_.emplace_back(control);
    arrange();
    updateGeometry();
    return true;
}

int TWPCustomToolPanel::flow(int width, bool place) const
{
    int x = kMargin, y = kMargin, rowHeight = 0;
    bool gapPending = false;
    auto put = [&](QWidget* widget) {
        if (!widget || widget->isHidden())
            return;
        const QSize size = widget->sizeHint().expandedTo(widget->minimumSize()).boundedTo(widget->maximumSize());
        const QSize used = widget->size().isValid() && widget->testAttribute(Qt::WA_Resized) ? widget->size() : size;
        int left = x + (gapPending && x > kMargin ? groupGap() : 0);
        if (left + used.width() > width - kMargin && x > kMargin) {
            x = kMargin;
            y += rowHeight + kRowGap;
            rowHeight = 0;
            left = x;
        }
        if (place)
            widget->setGeometry(left, y, used.width(), used.height());
        x = left + used.width();
        rowHeight = std::max(rowHeight, used.height());
        gapPending = false;
    };
    for (QWidget* item : builtInItems()) {
        if (!item)
            gapPending = true;
        else
            put(item);
    }
    gapPending = true;
    for (const QPointer<QWidget>& control : external_)
        if (control)
            put(control);
    return y + rowHeight + kMargin;
}

void TWPCustomToolPanel::arrange()
{
    flow(std::max(width(), 1), true);
}

void TWPCustomToolPanel::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    arrange();
    if (flow(width(), false) != height())
        updateGeometry(); // more or fewer rows
}

QSize TWPCustomToolPanel::sizeHint() const
{
    constexpr int unbounded = 1 << 20;
    int width = kMargin;
    for (QWidget* item : builtInItems())
        width += item ? item->sizeHint().width() : groupGap();
    for (const QPointer<QWidget>& control : external_)
        if (control)
            width += control->width();
    return QSize(width + kMargin + groupGap(), flow(this->width() > 0 ? this->width() : unbounded, false));
}

// --- the toolbar ------------------------------------------------------------------------------------

TWPToolBar::TWPToolBar(QWidget* parent) : TWPCustomToolPanel(parent)
{
    using enum ToolIconId;
    lists_ = {ToolListId::SelFontName, ToolListId::SelFontSize, ToolListId::SelFontColor, ToolListId::SelBackgroundColor};
    statusIcons_ = {SelNormal, SelBold, SelItalic, SelUnder, SelStrikeOut, SelSuper, SelSub,
                    SelLeft, SelRight, SelBlock, SelCenter};
    editIcons_ = {SelCopy, SelCut, SelPaste, SelSelAll, SelFind, SelReplace};
    rebuild();
}

TWPToolBar::~TWPToolBar() = default;

void TWPToolBar::Setsel_ListBoxes(ToolListSet lists)
{
    lists_ = lists;
    rebuild();
}

void TWPToolBar::Setsel_StatusIcons(ToolIconSet icons)
{
    statusIcons_ = icons;
    rebuild();
}

void TWPToolBar::Setsel_EditIcons(ToolIconSet icons)
{
    editIcons_ = icons;
    rebuild();
}

void TWPToolBar::Setsel_ActionIcons(ToolIconSet icons)
{
    actionIcons_ = icons;
    rebuild();
}

void TWPToolBar::Setsel_DatabaseIcons(ToolIconSet icons)
{
    databaseIcons_ = icons;
    rebuild();
}

void TWPToolBar::SetFontSizeFrom(int points)
{
    fontSizeFrom_ = std::clamp(points, 1, 255);
    fillLists();
}

void TWPToolBar::SetFontSizeTo(int points)
{
    fontSizeTo_ = std::clamp(points, 1, 255);
    fillLists();
}

void TWPToolBar::SetWidthBetweenGroups(int pixels)
{
    gap_ = std::max(0, pixels);
    arrange();
}

void TWPToolBar::SetShowFont(bool on)
{
    showFont_ = on;
    fillLists();
}

void TWPToolBar::SetHints(const QStringList& hints)
{
    hints_ = hints;
    applyHints();
}

void TWPToolBar::SetUpdateObject(TWPRichText* editor)
{
    if (editor_ == editor)
        return;
    if (editor_ && TWPRichTextSetMode::Of(*editor_).WPToolBar() == this)
        TWPRichTextSetMode::Of(*editor_).SetWPToolBar(nullptr);
    editor_ = editor;
    if (editor) {
        language_ = editor->Language();
        fillLists();
        applyHints();
        TWPRichTextSetMode::Of(*editor).SetWPToolBar(this);
    }
}

void TWPToolBar::SetNextToolBar(TWPToolBar* next)
{
    for (TWPToolBar* link = next; link; link = link->NextToolBar())
        if (link == this)
            throw Error("Error: NextToolBar Loop");
    if (next_ && next_->chainedFrom_ == this)
        next_->chainedFrom_ = nullptr;
    next_ = next;
    if (next)
        next->chainedFrom_ = this;
    if (TWPRichText* editor = targetEditor())
        TWPRichTextSetMode::Of(*editor).Update();
}

TWPRichText* TWPToolBar::targetEditor() const
{
    // A chained toolbar without an editor of its own acts on the editor of the toolbar before it.
    const TWPToolBar* bar = this;
    for (int hops = 0; bar && hops <= 64; bar = bar->chainedFrom_, ++hops)
        if (bar->editor_)
            return bar->editor_;
    return nullptr;
}

std::vector<QWidget*> TWPToolBar::builtInItems() const
{
    return items_;
}

QToolButton* TWPToolBar::IconButton(ToolIconId id) const
{
    return buttons_[std::size_t(id)];
}

QComboBox* TWPToolBar::ListBox(ToolListId id) const
{
    return listBoxes_[std::size_t(id)];
}

void TWPToolBar::rebuild()
{
    for (QToolButton* button : buttons_)
        delete button;
    for (QComboBox*& box : listBoxes_) {
        delete box;
        box = nullptr;
    }
    buttons_.assign(ToolIcons().size(), nullptr);
    items_.clear();

    for (const ToolListInfo& info : ToolLists()) {
        // Paragraph styles and colours have no place in the document model; those lists are not built.
        if (!lists_.contains(info.id) || info.id == ToolListId::SelStyle || info.id == ToolListId::SelParColor)
            continue;
        auto* box = new QComboBox(this);
        box->setObjectName(fromUtf8(info.name));
        box->setFocusPolicy(Qt::NoFocus);
        box->setFixedHeight(kButtonSize);
        const ToolListId id = info.id;
        switch (id) {
        case ToolListId::SelFontName:
            box->setFixedWidth(150);
            break;
        case ToolListId::SelFontSize:
            box->setEditable(true);
            box->setInsertPolicy(QComboBox::NoInsert);
            box->setValidator(new QIntValidator(1, 255, box));
            box->setFixedWidth(52);
            connect(box->lineEdit(), &QLineEdit::returnPressed, this, [this, box] {
                listChosen(ToolListId::SelFontSize, box->lineEdit()->text().toInt());
            });
            break;
        default:
            box->setFixedWidth(104);
            break;
        }
        connect(box, &QComboBox::activated, this, [this, id, box](int index) {
            listChosen(id, id == ToolListId::SelFontSize ? box->itemData(index).toInt() : index);
        });
        listBoxes_[std::size_t(id)] = box;
        items_.push_back(box);
    }

    IconSetKind lastKind = IconSetKind::Status;
    int lastGroup = 0;
    for (const ToolIconInfo& info : ToolIcons()) {
        const ToolIconSet& set = info.set == IconSetKind::Status ? statusIcons_
            : info.set == IconSetKind::Edit                      ? editIcons_
            : info.set == IconSetKind::Action                    ? actionIcons_
                                                                 : databaseIcons_;
        if (!set.contains(info.id))
            continue;
        if (info.group != lastGroup || info.set != lastKind)
            items_.push_back(nullptr);
        lastGroup = info.group;
        lastKind = info.set;
        auto* button = new QToolButton(this);
        button->setObjectName(fromUtf8(info.name));
        button->setIcon(ToolIconImage(info.id));
        button->setIconSize(QSize(20, 20));
        button->setFixedSize(kButtonSize, kButtonSize);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCheckable(info.toggles);
        const ToolIconId id = info.id;
        connect(button, &QToolButton::clicked, this, [this, id](bool checked) { iconClicked(id, checked); });
        buttons_[std::size_t(id)] = button;
        items_.push_back(button);
    }
    for (QWidget* item : items_)
        if (item)
            item->show();
    fillLists();
    applyHints();
    arrange();
    updateGeometry();
    if (TWPRichText* editor = targetEditor())
        TWPRichTextSetMode::Of(*editor).Update();
}

void TWPToolBar::fillLists()
{
    const bool german = language_ == TWPToolLanguage::twpGerman;
    if (QComboBox* names = ListBox(ToolListId::SelFontName)) {
        const QString shown = names->currentText();
        names->clear();
        missingFontShown_ = false;
        for (const QString& family : QFontDatabase::families()) {
            if (QFontDatabase::isPrivateFamily(family))
                continue;
            names->addItem(family);
            if (showFont_)
                names->setItemData(names->count() - 1, QFont(family), Qt::FontRole);
        }
        names->setCurrentIndex(names->findText(shown));
    }
    if (QComboBox* sizes = ListBox(ToolListId::SelFontSize)) {
        const QString shown = sizes->currentText();
        sizes->clear();
        const int from = fontSizeFrom_, to = std::max(fontSizeFrom_, fontSizeTo_);
        sizes->addItem(QString::number(from), from);
        for (int size : kSizeSteps)
            if (size > from && size <= to)
                sizes->addItem(QString::number(size), size);
        sizes->setEditText(shown);
    }
    const TTextHeader* header = targetEditor() ? &targetEditor()->RtfText().header() : nullptr;
    const auto defaults = TTextHeader::defaultColors();
    for (ToolListId id : {ToolListId::SelFontColor, ToolListId::SelBackgroundColor}) {
        QComboBox* box = ListBox(id);
        if (!box)
            continue;
        const int shown = box->currentIndex();
        box->clear();
        for (int index = 0; index < ColorCount - 1; ++index) {
            const RGBColor color = header ? header->colors[std::size_t(index)] : defaults[std::size_t(index)];
            QString name = color == defaults[std::size_t(index)] ? fromUtf8(ColorName(index, german))
                                                                 : toQColor(color).name();
            // A background of index 0 is no background at all.
            if (id == ToolListId::SelBackgroundColor && index == 0) {
                box->addItem(german ? QStringLiteral("Keine") : QStringLiteral("None"), index);
                continue;
            }
            box->addItem(ColorSwatch(toQColor(color)), name, index);
        }
        box->setCurrentIndex(shown);
    }
}

QString TWPToolBar::hintFor(std::string_view key, std::string_view english, std::string_view german) const
{
    const QString wanted = fromUtf8(key);
    for (const QString& line : hints_) {
        const qsizetype equals = line.indexOf(u'=');
        if (equals > 0 && line.left(equals).trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1);
    }
    return fromUtf8(language_ == TWPToolLanguage::twpGerman ? german : english);
}

void TWPToolBar::applyHints()
{
    for (const ToolIconInfo& info : ToolIcons())
        if (QToolButton* button = IconButton(info.id))
            setHint(button, hintFor(info.hintKey, info.english, info.german));
    for (const ToolListInfo& info : ToolLists())
        if (QComboBox* box = ListBox(info.id))
            setHint(box, hintFor(info.hintKey, info.english, info.german));
}

void TWPToolBar::ApplyLanguage(TWPToolLanguage language)
{
    if (language == language_)
        return;
    language_ = language;
    fillLists();
    applyHints();
}

void TWPToolBar::SetIconDown(ToolIconId id, bool down)
{
    if (QToolButton* button = IconButton(id); button && button->isCheckable())
        button->setChecked(down);
}

bool TWPToolBar::IsIconDown(ToolIconId id) const
{
    const QToolButton* button = IconButton(id);
    return button && button->isChecked();
}

void TWPToolBar::SetListValue(int listNumber, int value, const QString& name)
{
    const ToolListInfo* info = nullptr;
    for (const ToolListInfo& list : ToolLists())
        if (list.number == listNumber)
            info = &list;
    QComboBox* box = info ? ListBox(info->id) : nullptr;
    if (!box)
        return;
    const QSignalBlocker quiet(box);
    switch (info->id) {
    case ToolListId::SelFontName: {
        // A font the document names but the system lacks heads the list while the caret is in it.
        if (missingFontShown_) {
            box->removeItem(0);
            missingFontShown_ = false;
        }
        int index = box->findText(name, Qt::MatchFixedString);
        if (index < 0 && !name.isEmpty()) {
            box->insertItem(0, name);
            missingFontShown_ = true;
            index = 0;
        }
        box->setCurrentIndex(index);
        break;
    }
    case ToolListId::SelFontSize:
        box->setCurrentIndex(box->findData(value));
        box->setEditText(QString::number(value));
        break;
    default:
        box->setCurrentIndex(box->findData(value));
        break;
    }
}

void TWPToolBar::iconClicked(ToolIconId id, bool checked)
{
    const ToolIconInfo& info = ToolIcon(id);
    int typ = IconTyp::Pressed;
    if (info.toggles && !checked)
        typ = IconTyp::Released;
    // Alignment icons stay down when pressed again; hidden text is switched by every press.
    if (info.group == IconGroup::Alignment || id == ToolIconId::SelHidden) {
        typ = IconTyp::Pressed;
        SetIconDown(id, true);
    }
    IconSelection(id, typ);
}

void TWPToolBar::listChosen(ToolListId id, int index)
{
    listAction(id, index);
    QComboBox* box = ListBox(id);
    const QString text = box ? box->currentText() : QString();
    fireSelection(IconTyp::ListChosen, text, 0, ToolList(id).number, index);
}

void TWPToolBar::fireSelection(int typ, QString str, int group, int number, int index)
{
    if (OnIconSelection)
        OnIconSelection(*this, typ, str, group, number, index);
}

} // namespace quillory
