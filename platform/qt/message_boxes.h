#pragma once

#include <QString>

class QWidget;

namespace tavlo::platform {

// Message-box styles and answers, as the platform's flags.
inline constexpr int kStyleYesNo = 4;
inline constexpr int kStyleQuestion = 32;
inline constexpr int kStyleWarning = 48;
inline constexpr int kStyleDefaultButton2 = 256;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// The one seam every warning and question of the program goes through. The
// real one beeps and shows a Qt box; tests answer through their own.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An application-modal box with OK and the warning icon; returns when closed.
    virtual void Warn(QWidget* owner, const QString& message, const QString& title) = 0;
    // An application-modal Yes/No box with the question icon; `style` is the
    // whole style (36 plus 256 when No is the default). Returns 6 or 7.
    virtual int Ask(QWidget* owner, const QString& message, const QString& title, int style) = 0;
};

// Real boxes: the beep, the icon, Japanese button captions ("OK", "はい(&Y)",
// "いいえ(&N)").
class QtMessageBoxes final : public MessageBoxes {
public:
    void Warn(QWidget* owner, const QString& message, const QString& title) override;
    int Ask(QWidget* owner, const QString& message, const QString& title, int style) override;
};

}  // namespace tavlo::platform
