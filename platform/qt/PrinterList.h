// The names of the installed printers, replaceable so that tests decide which printers exist.
#pragma once

#include <QStringList>
#include <functional>

namespace quillory {

// The installed printers' names (QPrinterInfo), or what a test has put in their place.
QStringList InstalledPrinterNames();

// Test seam: an empty provider restores the system's list. Returns the one that was in place.
using PrinterNamesProvider = std::function<QStringList()>;
PrinterNamesProvider SetPrinterNamesProvider(PrinterNamesProvider provider);

// Pretends that exactly `names` are installed for the lifetime of the object.
class ScopedPrinterNames {
public:
    explicit ScopedPrinterNames(QStringList names);
    ~ScopedPrinterNames();
    ScopedPrinterNames(const ScopedPrinterNames&) = delete;
    ScopedPrinterNames& operator=(const ScopedPrinterNames&) = delete;

private:
    PrinterNamesProvider previous_;
};

} // namespace quillory
