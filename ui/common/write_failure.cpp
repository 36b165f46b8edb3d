#include "ui/common/write_failure.h"

#include "ui/common/message_helpers.h"

namespace tavlo {

QString SettingsNotSavedMessage(const std::string& path)
{
    return QStringLiteral("設定ファイルに書き込めませんでした。") + u'\n' + QString::fromStdString(path);
}

void WarnSettingsNotSaved(platform::MessageBoxes& boxes, QWidget* owner, const QString& title, const std::string& path)
{
    ShowWarning(boxes, owner, SettingsNotSavedMessage(path), title);
}

}  // namespace tavlo
