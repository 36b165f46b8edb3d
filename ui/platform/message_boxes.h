#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace tavlo::ui::platform {

// A message box's style, with the platform's values: the buttons, the icon
// and the default button added together, as in Style::YesNo | Style::Question.
enum class Style : int {
    Ok = 0,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Warning = 48,
    Information = 64,
    IconBits = 0x70,  // the part of a style that picks the icon
    DefaultButton1 = 0,
    DefaultButton2 = 256,
};

constexpr Style operator|(Style a, Style b)
{
    return static_cast<Style>(static_cast<int>(a) | static_cast<int>(b));
}

constexpr Style operator&(Style a, Style b)
{
    return static_cast<Style>(static_cast<int>(a) & static_cast<int>(b));
}

// The button that closed a question box, with the platform's values.
enum class Answer : std::int16_t {
    Yes = 6,
    No = 7,
};

// The one seam every warning and question of the program goes through. The
// real one beeps and shows a Qt box; tests answer through their own.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An application-modal box with OK and the warning icon; returns when closed.
    virtual void Warn(QWidget* owner, const QString& message, const QString& title) = 0;
    // An application-modal Yes/No box; `style` is the whole style, with the
    // question icon and, where an answer could clear results, No as default.
    virtual Answer Ask(QWidget* owner, const QString& message, const QString& title, Style style) = 0;
};

// Real boxes: the beep, the icon, Japanese button captions ("OK", "はい(&Y)",
// "いいえ(&N)").
class QtMessageBoxes final : public MessageBoxes {
public:
    void Warn(QWidget* owner, const QString& message, const QString& title) override;
    Answer Ask(QWidget* owner, const QString& message, const QString& title, Style style) override;
};

}  // namespace tavlo::ui::platform
