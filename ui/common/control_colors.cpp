#include "ui/common/control_colors.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QVariant>

#include "ui/platform/system_colors.h"

namespace tavlo {

namespace {

constexpr char kBackColorProperty[] = "BackColor";
constexpr char kForeColorProperty[] = "ForeColor";
constexpr char kOwnColorProperty[] = "DrawnInOwnColor";

using ui::platform::SystemColor;

enum class Kind { Edit, Combo, Button, Plain };

Kind KindOf(const QWidget* control)
{
    if (qobject_cast<const QLineEdit*>(control) != nullptr
        || qobject_cast<const QAbstractItemView*>(control) != nullptr)
        return Kind::Edit;
    if (qobject_cast<const QComboBox*>(control) != nullptr)
        return Kind::Combo;
    if (qobject_cast<const QPushButton*>(control) != nullptr)
        return Kind::Button;
    return Kind::Plain;
}

// Draws a command button's panel flat in the palette's button colour, so the
// colour shows exactly; the base style draws everything else.
class GraphicalButtonStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override
    {
        if (element != PE_PanelButtonCommand) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        const bool down = (option->state & (State_Sunken | State_On)) != 0;
        const bool marked = (option->state & State_HasFocus) != 0
                            || (button != nullptr && (button->features & QStyleOptionButton::DefaultButton) != 0);
        const QColor face = option->palette.color(QPalette::Button);
        const QColor outline =
            marked ? option->palette.color(QPalette::Highlight) : option->palette.color(QPalette::Window).darker(140);

        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, true);
        const QRectF frame = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->setPen(outline);
        painter->setBrush(down ? face.darker(110) : face);
        painter->drawRoundedRect(frame, 2.0, 2.0);
        painter->restore();
    }
};

// One style for all coloured buttons, gone with the application. Its base is
// Fusion whatever the application's style: a native style draws a button's
// panel in one piece with the theme, past the primitive replaced here.
QStyle* ButtonStyle()
{
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new GraphicalButtonStyle(QStringLiteral("Fusion"));
        style->setParent(qApp);
    }
    return style.data();
}

bool DrawnInOwnColor(const QWidget* control)
{
    return control->property(kOwnColorProperty).toBool();
}

void SetRole(QWidget* control, QPalette::ColorRole role, const QColor& color)
{
    QPalette palette = control->palette();
    palette.setColor(role, color);
    control->setPalette(palette);
}

std::uint32_t ReadValue(const QWidget* control, const char* property, std::uint32_t fallback)
{
    const QVariant value = control->property(property);
    if (!value.isValid())
        return fallback;
    // Kept as an unsigned 32-bit value; a signed one reads back the same bits.
    return static_cast<std::uint32_t>(value.toLongLong());
}

}  // namespace

void SetBackColor(QWidget* control, std::uint32_t value)
{
    if (control == nullptr)
        return;
    control->setProperty(kBackColorProperty, QVariant::fromValue(static_cast<uint>(value)));
    const QColor color = ui::platform::ToQColor(value);
    switch (KindOf(control)) {
        case Kind::Edit:
            SetRole(control, QPalette::Base, color);
            break;
        case Kind::Combo:
            SetRole(control, QPalette::Base, color);
            SetRole(control, QPalette::Button, color);
            break;
        case Kind::Button:
            if (!DrawnInOwnColor(control))
                break;
            // The style first: a change of style repolishes the button.
            if (control->style() != ButtonStyle())
                control->setStyle(ButtonStyle());
            SetRole(control, QPalette::Button, color);
            break;
        case Kind::Plain:
            SetRole(control, QPalette::Window, color);
            if (!control->isWindow())
                control->setAutoFillBackground(true);
            break;
    }
}

void SetForeColor(QWidget* control, std::uint32_t value)
{
    if (control == nullptr)
        return;
    control->setProperty(kForeColorProperty, QVariant::fromValue(static_cast<uint>(value)));
    const QColor color = ui::platform::ToQColor(value);
    switch (KindOf(control)) {
        case Kind::Edit:
            SetRole(control, QPalette::Text, color);
            break;
        case Kind::Combo:
            SetRole(control, QPalette::Text, color);
            SetRole(control, QPalette::ButtonText, color);
            break;
        case Kind::Button:
            SetRole(control, QPalette::ButtonText, color);
            break;
        case Kind::Plain:
            SetRole(control, QPalette::WindowText, color);
            break;
    }
}

void DrawInOwnColor(QWidget* button)
{
    if (button == nullptr || DrawnInOwnColor(button))
        return;
    button->setProperty(kOwnColorProperty, true);
    if (button->property(kBackColorProperty).isValid())
        SetBackColor(button, BackColor(button));
}

std::uint32_t BackColor(const QWidget* control)
{
    if (control == nullptr)
        return 0;
    const Kind kind = KindOf(control);
    const bool field = kind == Kind::Edit || kind == Kind::Combo;
    return ReadValue(control, kBackColorProperty,
                     SystemColor(field ? ui::platform::COLOR_WINDOW : ui::platform::COLOR_BTNFACE));
}

std::uint32_t ForeColor(const QWidget* control)
{
    if (control == nullptr)
        return 0;
    const Kind kind = KindOf(control);
    const bool field = kind == Kind::Edit || kind == Kind::Combo;
    return ReadValue(control, kForeColorProperty,
                     SystemColor(field ? ui::platform::COLOR_WINDOWTEXT : ui::platform::COLOR_BTNTEXT));
}

}  // namespace tavlo
