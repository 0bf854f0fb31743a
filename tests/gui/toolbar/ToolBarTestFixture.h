// A window with an editor, its toolbar, ruler and status bar, as the diary places them.
#pragma once

#include "richtext/edit/RangeEditing.h"
#include "richtext/qt/RichText.h"
#include "richtext/qt/Ruler.h"
#include "richtext/qt/StatusBar.h"
#include "richtext/qt/ToolBar.h"
#include "richtext/qt/ToolBridge.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace quillory::testing {

class EditorWindow : public ::testing::Test {
protected:
    EditorWindow()
    {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        toolBar = new TWPToolBar(&window);
        ruler = new TWPRuler(&window);
        editor = new TWPRichText(&window);
        statusBar = new TWPStatusBarBasic(&window);
        layout->addWidget(toolBar);
        layout->addWidget(ruler);
        layout->addWidget(editor, 1);
        layout->addWidget(statusBar);
        toolBar->SetUpdateObject(editor);
        ruler->SetEditor(editor);
        SetStatusBar(*editor, statusBar);
        editor->OnChange = [this](TWPRichText&) { ++changes; };
        window.resize(640, 360);
        window.show();
    }

    // Types text at the start of an empty editor and selects [start, start + length).
    void write(const QString& text, long start = 0, long length = 0)
    {
        editor->InsertText(text);
        editor->SelStart(start);
        editor->SelLength(length);
        changes = 0;
    }

    TAttr attrAt(long position) const { return AttributesAt(editor->RtfText(), position); }
    const TParagraph& firstParagraph() const { return *editor->RtfText().firstParagraph(); }
    QToolButton& icon(ToolIconId id) const
    {
        QToolButton* button = toolBar->IconButton(id);
        EXPECT_NE(button, nullptr);
        return *button;
    }

    QWidget window;
    TWPToolBar* toolBar = nullptr;
    TWPRuler* ruler = nullptr;
    TWPRichText* editor = nullptr;
    TWPStatusBarBasic* statusBar = nullptr;
    int changes = 0;
};

} // namespace quillory::testing
