// The Qt application that the commands which paint (PDF output) need, without a display.
#pragma once

#include <QGuiApplication>

#include <memory>

namespace quillory::cli {

// An offscreen QGuiApplication for the running command, or nothing when one exists already.
// Commands that paint nothing never call this, so they start without Qt's GUI.
std::unique_ptr<QGuiApplication> OffscreenApplication();

} // namespace quillory::cli
