// TParagraphPropDlg: the paragraph properties dialog and its handlers; the unit rules are in
// ParagraphUnits.
#include "app/forms/Parprop.h"

#include "app/ParagraphUnits.h"
#include "app/forms/FormParts.h"
#include "platform/qt/MessageBoxes.h"
#include "richtext/edit/RangeEditing.h"
#include "richtext/qt/RichText.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace quillory {

namespace {

QLineEdit* AddEdit(QWidget* parent, const char* name, QRect place)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(place);
    return edit;
}

QComboBox* AddList(QWidget* parent, const char* name, QStringList items, QRect place, const char* hint)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    box->setGeometry(place);
    box->setToolTip(QString::fromLatin1(hint));
    return box;
}

char DecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 128 ? char(point.at(0).unicode()) : '.';
}

} // namespace

TParagraphPropDlg::TParagraphPropDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("ParagraphPropDlg"));
    setWindowTitle(tr("Paragraph Properties"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    setFont(font);
    setFixedSize(494, 128);

    // Creation order is the order ShowValues walks the edits in.
    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setGeometry(12, 64, 199, 53);
    Label1 = AddLabel(this, "Label1", "First Indent", {24, 67, 120, 16});
    Label2 = AddLabel(this, "Label2", "Left Indent", {16, 13, 120, 16});
    Label3 = AddLabel(this, "Label3", "Right Indent", {16, 40, 120, 16});
    Label7 = AddLabel(this, "Label7", "Units", {222, 92, 80, 16});
    Label8 = AddLabel(this, "Label8", "Space before (pts)", {222, 13, 94, 16});
    Label9 = AddLabel(this, "Label9", "Line Height (pts)", {222, 61, 94, 16});
    Label10 = AddLabel(this, "Label10", "Space after (pts)", {222, 37, 94, 16});

    FirstIndent = AddEdit(this, "FirstIndent", {151, 83, 55, 21});
    LeftIndent = AddEdit(this, "LeftIndent", {151, 10, 55, 21});
    RightIndent = AddEdit(this, "RightIndent", {151, 37, 55, 21});
    ComboBox1 = AddList(this, "ComboBox1", {QStringLiteral("Inch"), QStringLiteral("Cm")}, {311, 89, 56, 21},
                        "Change unit of measurement to inches or centimeters");

    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(396, 46, 84, 27);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Okbutton = new QPushButton(tr("OK"), this);
    Okbutton->setObjectName(QStringLiteral("Okbutton"));
    Okbutton->setGeometry(396, 11, 84, 26);
    Okbutton->setDefault(true);
    connect(Okbutton, &QPushButton::clicked, this, &TParagraphPropDlg::OkbuttonClick);

    FirstIndentCombo = AddList(this, "FirstIndentCombo",
                               {QStringLiteral("Same as Left Indent"), QStringLiteral("Indented by")},
                               {24, 84, 113, 21}, "Specify special handling for first line indent");
    SpaceBeforePts = AddEdit(this, "SpaceBeforePts", {318, 10, 49, 21});
    SpaceBeforePts->setToolTip(tr("Specify spacing before paragraph in points (1 point=1/72 inch)"));
    SpaceAfterPts = AddEdit(this, "SpaceAfterPts", {318, 34, 49, 21});
    SpaceAfterPts->setToolTip(tr("Specify spacing after paragraph in points (1 point=1/72 inch)"));
    LineHeightPts = AddEdit(this, "LineHeightPts", {318, 58, 49, 21});
    LineHeightPts->setToolTip(
        QStringLiteral("Specify spacing between lines of paragraph in points (1 point=1/72 inch)"));

    LabelFor(Label1, FirstIndentCombo);
    FirstIndent->setAccessibleName(tr("First indent by"));
    LabelFor(Label2, LeftIndent);
    LabelFor(Label3, RightIndent);
    LabelFor(Label7, ComboBox1);
    LabelFor(Label8, SpaceBeforePts);
    LabelFor(Label9, LineHeightPts);
    LabelFor(Label10, SpaceAfterPts);
    // The indents down the left column, the spacing down the right, then the buttons.
    ChainTabs({LeftIndent, RightIndent, FirstIndentCombo, FirstIndent, SpaceBeforePts, SpaceAfterPts, LineHeightPts,
               ComboBox1, Okbutton, CancelButton});

    for (QLineEdit* edit : {FirstIndent, LeftIndent, RightIndent, SpaceBeforePts, SpaceAfterPts, LineHeightPts})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { EditChange(edit); });
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TParagraphPropDlg::ComboBox1Change);
    connect(FirstIndentCombo, &QComboBox::activated, this, &TParagraphPropDlg::FirstIndentComboClick);
}

void TParagraphPropDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!showing_)
        FormShow();
    showing_ = true;
}

int* TParagraphPropDlg::ValueOf(const QLineEdit* edit)
{
    if (edit == FirstIndent) return &FirstIndentValue;
    if (edit == LeftIndent) return &LeftIndentValue;
    if (edit == RightIndent) return &RightIndentValue;
    if (edit == SpaceBeforePts) return &SpaceBeforeValue;
    if (edit == SpaceAfterPts) return &SpaceAfterValue;
    if (edit == LineHeightPts) return &LineHeightValue;
    return nullptr;
}

namespace {

ValueKind KindOf(const QLineEdit& edit)
{
    return edit.objectName().toUpper().contains(QStringLiteral("PTS")) ? ValueKind::Points : ValueKind::Indent;
}

IndentUnit UnitOf(const QComboBox& box)
{
    const QString unit = box.currentText();
    if (unit.compare(QStringLiteral("Inch"), Qt::CaseInsensitive) == 0)
        return IndentUnit::Inch;
    if (unit.compare(QStringLiteral("Cm"), Qt::CaseInsensitive) == 0)
        return IndentUnit::Cm;
    return IndentUnit::Twips;
}

} // namespace

void TParagraphPropDlg::FormShow()
{
    if (Editor) {
        const TParagraph* paragraph = LocatePosition(Editor->RtfText(), Editor->CaretPosition()).paragraph;
        FirstIndentValue = paragraph->firstIndent;
        LeftIndentValue = paragraph->leftIndent;
        RightIndentValue = paragraph->rightIndent;
        SpaceBeforeValue = paragraph->spaceBefore;
        SpaceAfterValue = paragraph->spaceAfter;
        LineHeightValue = paragraph->lineSpacing;
    }
    {
        const QSignalBlocker quiet(ComboBox1);
        ComboBox1->setCurrentIndex(0);
    }
    FirstIndentCombo->setCurrentIndex(FirstIndentValue != LeftIndentValue ? 1 : 0);
    FirstIndent->setEnabled(FirstIndentCombo->currentIndex() == 1);
    ShowValues();
    SetHints();
}

void TParagraphPropDlg::SetEditText(QLineEdit* edit, int value)
{
    edit->setText(QString::fromStdString(TwipsToText(value, KindOf(*edit), UnitOf(*ComboBox1), DecimalSeparator())));
}

void TParagraphPropDlg::ShowValues()
{
    for (QLineEdit* edit : {FirstIndent, LeftIndent, RightIndent, SpaceBeforePts, SpaceAfterPts, LineHeightPts})
        SetEditText(edit, *ValueOf(edit));
}

void TParagraphPropDlg::EditChange(QLineEdit* edit)
{
    int* value = ValueOf(edit);
    const ValueKind kind = KindOf(*edit);
    const IndentUnit unit = UnitOf(*ComboBox1);
    const char separator = DecimalSeparator();
    const std::string text = edit->text().toStdString();
    const std::optional<int> twips = TextToTwips(text, kind, unit, separator);
    if (!twips) {
        // The last good value stays; the dialog stays open for a correction.
        ShowMessageBox(QString::fromStdString(NotAFloatMessage(text)), QStringLiteral("Quillory"),
                       MessageButtons::Ok, MessageIcon::Error);
        return;
    }
    // A text that still shows the stored value keeps it exact: only what the user types is
    // rounded to the shown precision, so OK on an untouched field changes nothing.
    if (TwipsToText(*value, kind, unit, separator) != text)
        *value = *twips;

    if (edit == LeftIndent && FirstIndentCombo->currentIndex() == 0) {
        FirstIndent->setText(LeftIndent->text());
        FirstIndentValue = LeftIndentValue;
    }
}

void TParagraphPropDlg::ComboBox1Change()
{
    ShowValues();
    SetHints();
}

void TParagraphPropDlg::FirstIndentComboClick()
{
    const bool same = FirstIndentCombo->currentIndex() == 0;
    if (same) {
        FirstIndent->setText(LeftIndent->text());
        FirstIndentValue = LeftIndentValue;
    }
    FirstIndent->setEnabled(!same);
}

void TParagraphPropDlg::SetHints()
{
    const QString unit = ComboBox1->currentIndex() == 1 ? QStringLiteral("centimeters") : QStringLiteral("inches");
    LeftIndent->setToolTip(tr("Specify left indent for the paragraph in ") + unit);
    RightIndent->setToolTip(tr("Specify right indent for the paragraph in ") + unit);
    FirstIndent->setToolTip(tr("Specify first line indent for the paragraph in ") + unit);
}

void TParagraphPropDlg::OkbuttonClick()
{
    if (Editor) {
        Editor->SetParagraphSpacing(SpaceBeforeValue, SpaceAfterValue, LineHeightValue);
        Editor->SetParagraphIndents(FirstIndentValue, LeftIndentValue, RightIndentValue);
    }
    accept();
}

} // namespace quillory
