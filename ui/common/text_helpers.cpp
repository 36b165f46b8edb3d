#include "ui/common/text_helpers.h"

#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

namespace tavlo {

QString EscapeAmpersand(const QString& text)
{
    QString escaped = text;
    return escaped.replace(u'&', QStringLiteral("&&"));
}

QString UnescapeAmpersand(const QString& text)
{
    // Left to right without overlap: "&&&" gives "&&".
    QString unescaped;
    unescaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        unescaped.append(text[i]);
        if (text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'&')
            ++i;
    }
    return unescaped;
}

QString RemoveSpaces(const QString& text)
{
    QString compact = text;
    compact.remove(QChar(u' '));
    compact.remove(QChar(u'\u3000'));
    return compact;
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

void SelectText(QWidget* control, std::int16_t start, std::int16_t length)
{
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (edit == nullptr) {
        // A drop-down list (not editable) has no edit field to select in.
        if (auto* combo = qobject_cast<QComboBox*>(control))
            edit = combo->lineEdit();
    }
    if (edit == nullptr)
        return;
    const qsizetype size = edit->text().size();
    // Positions outside the text are clamped to it rather than refused.
    const qsizetype from = std::clamp<qsizetype>(start, 0, size);
    const qsizetype count = length < 0 ? size : length;
    edit->setSelection(static_cast<int>(from), static_cast<int>(std::min(count, size - from)));
}

}  // namespace tavlo
