#include "ui/common/input_checks.h"

#include "ui/common/message_helpers.h"

namespace tavlo {

bool CheckNumericInput(platform::MessageBoxes& boxes, QWidget* owner, const QString& text, std::int16_t maxDigits,
                       const QString& itemName, const QString& title)
{
    if (text.isEmpty())
        return true;
    // A wrong character is named before a wrong length: "12a4" is not "too long".
    if (!IsDigitsOnly(text)) {
        ShowWarning(boxes, owner, itemName + QStringLiteral("には、0～9の数字を入力して下さい。"), title);
        return false;
    }
    if (text.size() > maxDigits) {
        ShowWarning(boxes, owner,
                    itemName + QStringLiteral("には、") + QString::number(maxDigits)
                        + QStringLiteral("桁以内で入力して下さい。"),
                    title);
        return false;
    }
    return true;
}

bool IsDigitsOnly(const QString& text)
{
    if (text.isEmpty())
        return false;
    // ASCII only: QChar::isDigit would also pass full-width and other digits.
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

}  // namespace tavlo
