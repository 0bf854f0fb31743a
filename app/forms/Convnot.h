// TConvertNotify: the small busy window with a headline and a status line that long runs show
// (the conversion of the old diary, the search, the export). It has no buttons; its owner sets
// the two texts and destroys it.
#pragma once

#include <QWidget>

class QLabel;

namespace quillory {

class TConvertNotify : public QWidget {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 355;
    static constexpr int kClientHeight = 146;

    explicit TConvertNotify(QWidget* parent = nullptr);

    // Sets the status line and repaints it at once, since the caller is busy until it is done.
    void SetStatus(const QString& text);

    QLabel* WhatAmIdoing = nullptr;
    QLabel* Status = nullptr;

private:
    // Centres the window on the screen.
    void FormCreate();
};

} // namespace quillory
