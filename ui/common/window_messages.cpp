#include "ui/common/window_messages.h"

#include <QWidget>

#include "ui/common/text_helpers.h"

namespace tavlo {

WindowMessages::WindowMessages(ui::platform::MessageBoxes& boxes, QWidget& window) : m_boxes(boxes), m_window(window) {}

void WindowMessages::ShowWarning(const QString& message) const
{
    m_boxes.Warn(&m_window, message, m_window.windowTitle());
}

ui::platform::Answer WindowMessages::AskYesNo(const QString& message, ui::platform::Style defaultButton) const
{
    using ui::platform::Style;
    return m_boxes.Ask(&m_window, message, m_window.windowTitle(), Style::YesNo | Style::Question | defaultButton);
}

void WindowMessages::WarnSettingsNotSaved(const std::string& path) const
{
    ShowWarning(SettingsNotSavedMessage(path));
}

QString SettingsNotSavedMessage(const std::string& path)
{
    return QStringLiteral("設定ファイルに書き込めませんでした。") + u'\n' + QString::fromStdString(path);
}

bool CheckNumericInput(const WindowMessages& messages, const QString& text, std::int16_t maxDigits,
                       const QString& itemName)
{
    if (text.isEmpty())
        return true;
    // A wrong character is named before a wrong length: "12a4" is not "too long".
    if (!IsDigitsOnly(text)) {
        messages.ShowWarning(itemName + QStringLiteral("には、0～9の数字を入力して下さい。"));
        return false;
    }
    if (text.size() > maxDigits) {
        messages.ShowWarning(itemName + QStringLiteral("には、") + QString::number(maxDigits)
                             + QStringLiteral("桁以内で入力して下さい。"));
        return false;
    }
    return true;
}

}  // namespace tavlo
