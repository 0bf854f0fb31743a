// TMainScreen::PerformConversion: the one-time conversion of the old single-table diary at the
// window's creation. The question and the windows are here; the conversion is the unit in
// app/legacy.
#include "app/forms/Main.h"

#include "app/DateTexts.h"
#include "app/forms/Convnot.h"
#include "app/legacy/LegacyConversion.h"
#include "platform/Error.h"
#include "platform/qt/DateNames.h"
#include "platform/qt/MessageBoxes.h"

#include <QCoreApplication>

namespace quillory {

namespace {

constexpr const char* kConvertQuestion =
    "Old file format detected. Would you like to\r"
    "convert to the new file format now? (Press No\r"
    "if you wish to make backups of your datafiles\r"
    "first)";

} // namespace

bool TMainScreen::PerformConversion()
{
    if (!AskConfirm(QString::fromLatin1(kConvertQuestion)))
        return false;

    ConversionResult result;
    {
        TConvertNotify notify;
        notify.show();
        QCoreApplication::processEvents();
        const char separator = LocaleDateSeparator();
        ConversionObserver observer;
        observer.processing = [&](Day day) {
            notify.SetStatus(QStringLiteral("Processing entry for ")
                             + QString::fromLatin1(ShortDateText(day, separator)));
            QCoreApplication::processEvents();
        };
        try {
            result = ConvertLegacyTable(observer);
        } catch (const std::exception& error) {
            notify.hide();
            ShowMessageBox(QStringLiteral("The old diary could not be converted; you will be asked again at the "
                                          "next start. Nothing has been changed.\r")
                               + QString::fromStdString(error.what()),
                           QStringLiteral("Quillory"), MessageButtons::Ok, MessageIcon::Error);
            return false;
        }
    }
    ShowInformation(QString::fromStdString(ConversionDoneNotice(result)));
    return true;
}

} // namespace quillory
