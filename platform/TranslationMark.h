// Marks the texts of Qt-free tables for translation. lupdate collects them (the build tells it
// that this mark works as QT_TRANSLATE_NOOP); the window that shows such a text translates it
// with QCoreApplication::translate(context, text), the same context given here.
#pragma once

#define QY_TRANSLATE_NOOP(context, text) text
