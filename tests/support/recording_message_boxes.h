#pragma once

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

#include "ui/platform/message_boxes.h"

namespace tavlo::test {

// Records every box a window asks for and answers questions from a script.
// An unscripted question is answered with its default button.
class RecordingMessageBoxes final : public ui::platform::MessageBoxes {
public:
    struct Call {
        bool question = false;
        QString message;
        QString title;
        ui::platform::Style style = ui::platform::Style::Ok;
    };

    void Warn(QWidget* owner, const QString& message, const QString& title) override
    {
        calls.push_back({false, message, title, ui::platform::Style::Ok | ui::platform::Style::Warning});
        if (onBox)
            onBox(owner);
    }
    ui::platform::Answer Ask(QWidget* owner, const QString& message, const QString& title,
                             ui::platform::Style style) override
    {
        calls.push_back({true, message, title, style});
        if (onBox)
            onBox(owner);
        using ui::platform::Answer;
        if (answers.empty())
            return (style & ui::platform::Style::DefaultButton2) == ui::platform::Style::DefaultButton2 ? Answer::No
                                                                                                        : Answer::Yes;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void AnswerYes() { answers.push_back(ui::platform::Answer::Yes); }
    void AnswerNo() { answers.push_back(ui::platform::Answer::No); }
    QStringList Messages() const
    {
        QStringList list;
        for (const Call& call : calls)
            list << call.message;
        return list;
    }
    void Clear() { calls.clear(); }

    std::vector<Call> calls;
    std::deque<ui::platform::Answer> answers;
    // Runs while a box "is open", e.g. to check where the focus was.
    std::function<void(QWidget*)> onBox;
};

}  // namespace tavlo::test
