// The printer list from QPrinterInfo behind a replaceable provider.
#include "platform/qt/PrinterList.h"

#include <QPrinterInfo>

namespace quillory {

namespace {

PrinterNamesProvider& Provider()
{
    static PrinterNamesProvider provider;
    return provider;
}

} // namespace

QStringList InstalledPrinterNames()
{
    return Provider() ? Provider()() : QPrinterInfo::availablePrinterNames();
}

PrinterNamesProvider SetPrinterNamesProvider(PrinterNamesProvider provider)
{
    std::swap(Provider(), provider);
    return provider;
}

ScopedPrinterNames::ScopedPrinterNames(QStringList names)
    : previous_(SetPrinterNamesProvider([names = std::move(names)] { return names; }))
{
}

ScopedPrinterNames::~ScopedPrinterNames()
{
    SetPrinterNamesProvider(std::move(previous_));
}

} // namespace quillory
