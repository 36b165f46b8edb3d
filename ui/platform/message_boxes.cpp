#include "ui/platform/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/platform/window_services.h"

namespace tavlo::ui::platform {

namespace {

// A box owned by `owner` that keeps the whole program waiting, as the
// platform's application-modal boxes do. Messages are plain text: a "<" in an
// item name must show as written.
void SetUp(QMessageBox& box, QMessageBox::Icon icon, const QString& message, const QString& title)
{
    box.setIcon(icon);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(message);
    box.setWindowModality(Qt::ApplicationModal);
}

QMessageBox::Icon IconOf(Style style)
{
    switch (style & Style::IconBits) {
        case Style::Critical:
            return QMessageBox::Critical;
        case Style::Question:
            return QMessageBox::Question;
        case Style::Warning:
            return QMessageBox::Warning;
        case Style::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

void QtMessageBoxes::Warn(QWidget* owner, const QString& message, const QString& title)
{
    Beep();
    QMessageBox box(owner);
    SetUp(box, QMessageBox::Warning, message, title);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    ActivateWindow(owner);
}

Answer QtMessageBoxes::Ask(QWidget* owner, const QString& message, const QString& title, Style style)
{
    Beep();
    QMessageBox box(owner);
    SetUp(box, IconOf(style), message, title);
    QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton((style & Style::DefaultButton2) == Style::DefaultButton2 ? no : yes);
    // Esc, and closing the box any other way, answers No: the answer that
    // never clears anything.
    box.setEscapeButton(no);
    box.exec();
    ActivateWindow(owner);
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

}  // namespace tavlo::ui::platform
