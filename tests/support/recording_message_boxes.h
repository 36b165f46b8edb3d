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
class RecordingMessageBoxes final : public platform::MessageBoxes {
public:
    struct Call {
        bool question = false;
        QString message;
        QString title;
        platform::Style style = platform::Style::Ok;
    };

    void Warn(QWidget* owner, const QString& message, const QString& title) override
    {
        calls.push_back({false, message, title, platform::Style::Ok | platform::Style::Warning});
        if (onBox)
            onBox(owner);
    }
    platform::Answer Ask(QWidget* owner, const QString& message, const QString& title, platform::Style style) override
    {
        calls.push_back({true, message, title, style});
        if (onBox)
            onBox(owner);
        using platform::Answer;
        if (answers.empty())
            return (style & platform::Style::DefaultButton2) == platform::Style::DefaultButton2 ? Answer::No
                                                                                                : Answer::Yes;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void AnswerYes() { answers.push_back(platform::Answer::Yes); }
    void AnswerNo() { answers.push_back(platform::Answer::No); }
    QStringList Messages() const
    {
        QStringList list;
        for (const Call& call : calls)
            list << call.message;
        return list;
    }
    void Clear() { calls.clear(); }

    std::vector<Call> calls;
    std::deque<platform::Answer> answers;
    // Runs while a box "is open", e.g. to check where the focus was.
    std::function<void(QWidget*)> onBox;
};

}  // namespace tavlo::test
