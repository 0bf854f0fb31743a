// TDefaultFontDialog: Qt's font chooser and a colour list in one dialog.
#include "app/forms/DefaultFont.h"

#include "richtext/model/TextHeader.h"
#include "richtext/qt/ToolIcons.h"
#include "richtext/tools/ToolBarTable.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QVBoxLayout>

namespace quillory {

TDefaultFontDialog::TDefaultFontDialog(const QFont& font, const QColor& color, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DefaultFontDialog"));
    setWindowTitle(tr("Default Font"));
    auto* layout = new QVBoxLayout(this);

    // Qt's font dialog serves as a part of this one: its own buttons give way to ours.
    DefaultFontdialog = new QFontDialog(font, this);
    DefaultFontdialog->setObjectName(QStringLiteral("DefaultFontdialog"));
    DefaultFontdialog->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    DefaultFontdialog->setWindowFlags(Qt::Widget);
    layout->addWidget(DefaultFontdialog, 1);

    // The colours a new day's text can take: the editor's colour table (without its last entry,
    // which stands for "automatic").
    ColorBox = new QComboBox(this);
    ColorBox->setObjectName(QStringLiteral("ColorBox"));
    const auto colors = TTextHeader::defaultColors();
    for (int index = 0; index < ColorCount - 1; ++index) {
        const RGBColor& c = colors[std::size_t(index)];
        const QColor shown(c.red, c.green, c.blue);
        const std::string_view name = ColorName(index, false);
        ColorBox->addItem(ColorSwatch(shown), QString::fromUtf8(name.data(), qsizetype(name.size())), shown);
        if (shown == color && ColorBox->currentIndex() <= 0)
            ColorBox->setCurrentIndex(index);
    }
    auto* colorRow = new QFormLayout;
    colorRow->addRow(QStringLiteral("&Color:"), ColorBox);
    layout->addLayout(colorRow);

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QFont TDefaultFontDialog::selectedFont() const
{
    return DefaultFontdialog->currentFont();
}

QColor TDefaultFontDialog::selectedColor() const
{
    return ColorBox->currentData().value<QColor>();
}

} // namespace quillory
