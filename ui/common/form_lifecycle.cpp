#include "ui/common/form_lifecycle.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QRadioButton>
#include <QVariant>
#include <limits>

#include "ui/common/control_colors.h"
#include "ui/common/tag_number.h"
#include "ui/platform/system_colors.h"

namespace tavlo {

namespace {

constexpr char kMaxLengthProperty[] = "MaxLength";
constexpr char kTagProperty[] = "Tag";
constexpr std::uint32_t kKeepColor = ui::platform::Rgb(192, 192, 192);
// QLineEdit's own ceiling, which is also its setting for "no limit".
constexpr int kNoLimit = 32767;

bool IsControl(const QWidget* widget)
{
    const QString name = widget->objectName();
    return !name.isEmpty() && !name.startsWith(QLatin1String("qt_"));
}

void CollectControls(const QWidget* parent, QList<QWidget*>& controls)
{
    // children() keeps the order of creation.
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget == nullptr || widget->isWindow())
            continue;
        if (IsControl(widget))
            controls.append(widget);
        CollectControls(widget, controls);
    }
}

bool IsFrameKind(const QWidget* control)
{
    return qobject_cast<const QGroupBox*>(control) != nullptr || qobject_cast<const QRadioButton*>(control) != nullptr
           || qobject_cast<const QCheckBox*>(control) != nullptr || control->metaObject() == &QFrame::staticMetaObject;
}

bool KeepsOwnColors(const QWidget* control)
{
    return qobject_cast<const QLabel*>(control) != nullptr || qobject_cast<const QListView*>(control) != nullptr;
}

// The designed limit kept in a property of any integer type; beyond 16 bits
// clamped like a tag number, so it cannot wrap into a different limit.
std::int16_t DesignedMaxLength(const QWidget* box)
{
    const QVariant value = box->property(kMaxLengthProperty);
    if (!value.isValid())
        return 0;
    return TagLimit(static_cast<double>(value.toLongLong()));
}

// The limit written in a combo box's tag, if the tag has one: after
// "MaxLength=" at its very start, else after the first ";MaxLength=".
std::optional<std::int16_t> TagMaxLength(const QString& tag)
{
    static const QString key = QStringLiteral("MaxLength=");
    static const QString separatedKey = u';' + key;
    // Searched without regard to case in the tag itself, so a position found
    // is a position in the tag whatever upper-casing would do to its length.
    qsizetype from = -1;
    if (tag.startsWith(key, Qt::CaseInsensitive)) {
        from = key.size();
    } else if (const qsizetype at = tag.indexOf(separatedKey, 0, Qt::CaseInsensitive); at >= 0) {
        from = at + separatedKey.size();
    }
    if (from < 0)
        return std::nullopt;
    return TagLimit(ReadTagNumber(QStringView(tag).mid(from)));
}

}  // namespace

QList<QWidget*> FormControls(QWidget* window)
{
    QList<QWidget*> controls;
    if (window != nullptr)
        CollectControls(window, controls);
    return controls;
}

void SetMaxLength(QWidget* control, std::int16_t n)
{
    const int limit = n > 0 ? n : kNoLimit;
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        if (DesignedMaxLength(box) != 0)
            box->setProperty(kMaxLengthProperty, 0);
        box->setMaxLength(limit);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        // A drop-down list has no edit field, so no limit to set.
        if (QLineEdit* edit = combo->lineEdit())
            edit->setMaxLength(limit);
    }
}

void PrepareFormControls(QWidget* window, std::optional<std::uint32_t> backColor)
{
    if (window == nullptr)
        return;
    if (backColor)
        SetBackColor(window, *backColor);
    const std::uint32_t windowBack = BackColor(window);

    // Guarded pointers: a control that goes away while another is prepared is
    // passed over instead of touched.
    QList<QPointer<QWidget>> controls;
    for (QWidget* control : FormControls(window))
        controls.append(control);

    for (const QPointer<QWidget>& guarded : controls) {
        QWidget* control = guarded.data();
        if (control == nullptr)
            continue;
        if (auto* box = qobject_cast<QLineEdit*>(control)) {
            SetMaxLength(box, DesignedMaxLength(box));
        } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
            if (const auto n = TagMaxLength(combo->property(kTagProperty).toString()))
                SetMaxLength(combo, *n);
        } else if (IsFrameKind(control)) {
            if (BackColor(control) != kKeepColor)
                SetBackColor(control, windowBack);
        } else if (!KeepsOwnColors(control)) {
            SetBackColor(control, windowBack);
        }
    }
}

void NotifyFormClosing(QWidget* window, bool& cancel, UnloadMode unloadMode)
{
    // A hook for every closing window; nothing needs it yet, and it never
    // cancels.
    (void)window;
    (void)cancel;
    (void)unloadMode;
}

}  // namespace tavlo
