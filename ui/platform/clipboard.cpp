#include "ui/platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tavlo::ui::platform {

namespace {

#ifdef Q_OS_WIN
const QString kLineEnd = QStringLiteral("\r\n");
#else
const QString kLineEnd = QStringLiteral("\n");
#endif

}  // namespace

void CopyLinesToClipboard(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + kLineEnd;
    QGuiApplication::clipboard()->setText(text);
}

}  // namespace tavlo::ui::platform
