// The symbol selector: a font box of the installed symbol fonts and a grid of their 224
// characters. Byte c of a symbol font is Qt's character U+F000 + c.
#include "app/forms/symsel.h"

#include "app/forms/FormParts.h"
#include "platform/Cp1252.h"
#include "platform/qt/MessageBoxes.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace quillory {
namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 255;
constexpr int kColumns = 15;
constexpr int kItemHeight = 26;
constexpr int kCodeRole = Qt::UserRole;

QFont SymbolListFont(const QString& family)
{
    QFont font(family);
    font.setPixelSize(24);
    return font;
}

} // namespace

TSymbolSelector::TSymbolSelector(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("SymbolSelector"));
    setWindowTitle(tr("Symbol Selector"));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11);
    setFont(arial);
    setFixedSize(530, 371);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, 530, 37);
    Label1 = AddLabel(Panel1, "Label1", "&Font", {10, 11, 40, 16});
    FontTestLabel = AddLabel(Panel1, "FontTestLabel", "", {0, 0, 0, 0});
    FontTestLabel->hide();
    SymbolSets = new QComboBox(Panel1);
    SymbolSets->setObjectName(QStringLiteral("SymbolSets"));
    SymbolSets->setToolTip(tr("Select a symbol font set"));
    SymbolSets->setGeometry(48, 8, 250, 22);
    Label1->setBuddy(SymbolSets);
    connect(SymbolSets, &QComboBox::activated, this, [this] { SymbolSetsClick(); });

    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setGeometry(0, 37, 530, 371 - 37 - 43);
    SymbolList = new QListWidget(Panel3);
    SymbolList->setObjectName(QStringLiteral("SymbolList"));
    SymbolList->setAccessibleName(tr("Symbols"));
    SymbolList->setGeometry(5, 5, 520, Panel3->height() - 10);
    SymbolList->setViewMode(QListView::IconMode);
    SymbolList->setFlow(QListView::LeftToRight);
    SymbolList->setWrapping(true);
    SymbolList->setMovement(QListView::Static);
    SymbolList->setResizeMode(QListView::Adjust);
    SymbolList->setUniformItemSizes(true);
    const int cell = (SymbolList->width() - SymbolList->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 4) / kColumns;
    SymbolList->setGridSize(QSize(cell, kItemHeight));
    SymbolList->setFont(SymbolListFont(QStringLiteral("Wingdings")));
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        auto* item = new QListWidgetItem(QString(QChar(char16_t(0xF000 + code))), SymbolList);
        item->setData(kCodeRole, code);
        item->setTextAlignment(Qt::AlignCenter);
        item->setSizeHint(QSize(cell, kItemHeight));
    }
    connect(SymbolList, &QListWidget::currentRowChanged, this, [this] { SymbolListClick(); });
    connect(SymbolList, &QListWidget::itemDoubleClicked, this, [this] { SymbolListDblClick(); });

    panel2 = new QWidget(this);
    panel2->setObjectName(QStringLiteral("panel2"));
    panel2->setGeometry(0, 371 - 43, 530, 43);
    CopyCharButton = new QToolButton(panel2);
    CopyCharButton->setObjectName(QStringLiteral("CopyCharButton"));
    CopyCharButton->setText(tr("Ok"));
    CopyCharButton->setToolTip(tr("Copy the selected symbol to the label"));
    CopyCharButton->setGeometry(340, 8, 85, 28);
    connect(CopyCharButton, &QToolButton::clicked, this, &TSymbolSelector::CopyCharButtonClick);
    OKButton = new QToolButton(panel2);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setText(tr("Cancel"));
    OKButton->setGeometry(435, 8, 85, 28);
    connect(OKButton, &QToolButton::clicked, this, &TSymbolSelector::OkButtonClick);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    LoadFontsList(QFontDatabase::families());
    QGuiApplication::restoreOverrideCursor();
}

void TSymbolSelector::LoadFontsList(const QStringList& families)
{
    SymbolSets->clear();
    QStringList symbols;
    for (const QString& family : families)
        if (QFontDatabase::isScalable(family)
            && QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
            symbols += family;
    symbols.sort(Qt::CaseInsensitive);
    symbols.removeDuplicates();
    SymbolSets->addItems(symbols);
    noFonts_ = symbols.isEmpty();
    if (noFonts_) {
        ShowMessageBox(QStringLiteral("No Symbol fonts installed"), QString(), MessageButtons::Ok);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    SymbolSets->setCurrentIndex(0);
    for (int i = 0; i < SymbolSets->count(); ++i) {
        if (SymbolSets->itemText(i).toUpper().contains(QLatin1String("WINGDING"))) {
            SymbolSets->setCurrentIndex(i);
            break;
        }
    }
    SymbolList->setFont(SymbolListFont(SymbolSets->currentText()));
    SymbolFont = SymbolSets->currentText();
    SymbolList->setCurrentRow(0);
}

void TSymbolSelector::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TSymbolSelector::FormActivate()
{
    if (!noFonts_)
        SymbolListClick();
}

void TSymbolSelector::SymbolSetsClick()
{
    SymbolList->setFont(SymbolListFont(SymbolSets->currentText()));
    SymbolFont = SymbolSets->currentText();
}

void TSymbolSelector::SymbolListClick()
{
    const QListWidgetItem* item = SymbolList->currentItem();
    if (!item)
        return;
    SymbolChar = Cp1252ToUtf8(std::string(1, char(item->data(kCodeRole).toInt())));
    SymbolFont = SymbolList->font().family();
}

void TSymbolSelector::SymbolListDblClick()
{
    SymbolListClick();
    CopyCharButtonClick();
}

void TSymbolSelector::CopyCharButtonClick()
{
    if (!SymbolFont.isEmpty() || !SymbolChar.empty())
        accept();
}

void TSymbolSelector::OkButtonClick()
{
    reject();
}

} // namespace quillory
