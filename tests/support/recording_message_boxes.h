#pragma once

#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

#include "platform/qt/message_boxes.h"

namespace tavlo::test {

// Records every box a window asks for and answers questions from a script.
// An unscripted question is answered with its default button.
class RecordingMessageBoxes final : public platform::MessageBoxes {
public:
    struct Call {
        bool question = false;
        QString message;
        QString title;
        int style = 0;
    };

    void Warn(QWidget* owner, const QString& message, const QString& title) override
    {
        calls.push_back({false, message, title, platform::kStyleWarning});
        if (onBox)
            onBox(owner);
    }
    int Ask(QWidget* owner, const QString& message, const QString& title, int style) override
    {
        calls.push_back({true, message, title, style});
        if (onBox)
            onBox(owner);
        if (answers.empty())
            return (style & platform::kStyleDefaultButton2) ? platform::kAnswerNo : platform::kAnswerYes;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void AnswerYes() { answers.push_back(platform::kAnswerYes); }
    void AnswerNo() { answers.push_back(platform::kAnswerNo); }
    QStringList Messages() const
    {
        QStringList list;
        for (const Call& call : calls)
            list << call.message;
        return list;
    }
    void Clear() { calls.clear(); }

    std::vector<Call> calls;
    std::deque<int> answers;
    // Runs while a box "is open", e.g. to check where the focus was.
    std::function<void(QWidget*)> onBox;
};

}  // namespace tavlo::test
