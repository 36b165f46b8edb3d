#pragma once

#include <QString>
#include <string>

#include "ui/platform/message_boxes.h"

class QWidget;

namespace tavlo {

// The warning a window shows when the settings file could not be written:
// "設定ファイルに書き込めませんでした。", a line break and the file's full path.
QString SettingsNotSavedMessage(const std::string& path);
void WarnSettingsNotSaved(platform::MessageBoxes& boxes, QWidget* owner, const QString& title, const std::string& path);

}  // namespace tavlo
