// The busy cursor for as long as an object of this class lives: while files are written and
// read back on the window's thread.
#pragma once

#include <QGuiApplication>

namespace quillory {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace quillory
