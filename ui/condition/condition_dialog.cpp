#include "ui/condition/condition_dialog.h"

#include <algorithm>

#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/draw_state.h"
#include "ui/common/form_lifecycle.h"
#include "ui/common/main_window_link.h"
#include "ui/common/screen_placement.h"
#include "ui/common/text_helpers.h"
#include "ui/common/window_messages.h"
#include "ui/condition/focus_validator.h"
#include "ui/platform/fonts.h"
#include "ui/platform/twips.h"

namespace tavlo {

namespace {

using ui::platform::TwipsBox;

constexpr std::int16_t kMaxDigits = 3;

// The design, in twips. The window's box is its client area, measured from
// the screen's top-left corner.
constexpr TwipsBox kWindowDesign{2760.0f, 3750.0f, 4545.0f, 1665.0f};
constexpr TwipsBox kRangeLabelDesign{240.0f, 360.0f, 1575.0f, 255.0f};
constexpr TwipsBox kRangeMinDesign{2040.0f, 240.0f, 615.0f, 360.0f};
constexpr TwipsBox kTildeDesign{2880.0f, 360.0f, 495.0f, 255.0f};
constexpr TwipsBox kRangeMaxDesign{3480.0f, 255.0f, 615.0f, 360.0f};
constexpr TwipsBox kOKDesign{360.0f, 960.0f, 1575.0f, 495.0f};
constexpr TwipsBox kCancelDesign{2520.0f, 960.0f, 1575.0f, 495.0f};
constexpr double kFontPoints = 12.0;

// Only half-width blanks: a full-width one that stays fails the digits check.
QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

}  // namespace

frmCondition::frmCondition(DrawState& state, ui::platform::MessageBoxes& boxes, MainWindowLink& mainWindow,
                           QWidget* owner)
    : QDialog(owner), m_state(state), m_messages(boxes, *this), m_mainWindow(mainWindow)
{
    CreateControls();
    // At its designed place on the owner's screen, not centred on the owner.
    PlaceAtDesignedCorner(*this, owner, TwipsRect(kWindowDesign).topLeft());
    Load();
}

frmCondition::~frmCondition() = default;

void frmCondition::CreateControls()
{
    setObjectName(QStringLiteral("frmCondition"));
    setWindowTitle(QStringLiteral("条件入力"));
    // A fixed dialog frame: title bar with system menu and close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(TwipsRect(kWindowDesign).size());
    setFont(ui::platform::GothicFont(kFontPoints));

    // Created in tab order: the design order of the controls is their order.
    lblRange = new QLabel(QStringLiteral("抽選結果範囲"), this);
    lblRange->setObjectName(QStringLiteral("lblRange"));
    lblRange->setGeometry(TwipsRect(kRangeLabelDesign));
    lblRange->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    txtRangeMin = new QLineEdit(this);
    txtRangeMin->setObjectName(QStringLiteral("txtRangeMin"));
    txtRangeMin->setGeometry(TwipsRect(kRangeMinDesign));

    Label1 = new QLabel(QStringLiteral("～"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(kTildeDesign));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    txtRangeMax = new QLineEdit(this);
    txtRangeMax->setObjectName(QStringLiteral("txtRangeMax"));
    txtRangeMax->setGeometry(TwipsRect(kRangeMaxDesign));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsRect(kOKDesign));

    cmdCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(TwipsRect(kCancelDesign));

    for (QLabel* label : {lblRange, Label1}) {
        label->setFocusPolicy(Qt::NoFocus);
        // The substitute face has a taller line than the designed one; the
        // labels keep their designed top but grow to show whole characters.
        label->resize(label->width(), std::max(label->height(), label->fontMetrics().height()));
    }
    for (QLineEdit* box : {txtRangeMin, txtRangeMax}) {
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setFont(ui::platform::WithFallbackFaces(font()));  // whatever is typed shows
        box->installEventFilter(this);
    }
    // Neither button is the default: Enter presses nothing in this dialog.
    for (QPushButton* button : {cmdOK, cmdCancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
        button->setFocusPolicy(Qt::StrongFocus);
    }
    setTabOrder(txtRangeMin, txtRangeMax);
    setTabOrder(txtRangeMax, cmdOK);
    setTabOrder(cmdOK, cmdCancel);

    m_validator = new FocusValidator(this);
    m_validator->Watch(txtRangeMin, [this] { return CheckBox(txtRangeMin, QStringLiteral("(From)")); });
    m_validator->Watch(txtRangeMax, [this] { return CheckBox(txtRangeMax, QStringLiteral("(To)")); });

    connect(cmdOK, &QPushButton::clicked, this, &frmCondition::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmCondition::cmdCancel_Click);
}

void frmCondition::Load()
{
    PrepareFormControls(this);
    if (m_state.RangeMin() >= 0)
        txtRangeMin->setText(QString::number(m_state.RangeMin()));
    if (m_state.RangeMax() >= 0)
        txtRangeMax->setText(QString::number(m_state.RangeMax()));
}

QString frmCondition::RangeLabelText() const
{
    return RemoveSpaces(UnescapeAmpersand(lblRange->text()));
}

// The check run when the focus is about to leave a box. An empty box passes:
// only OK reports it.
bool frmCondition::CheckBox(QLineEdit* box, const QString& suffix)
{
    const QString trimmed = TrimBlanks(box->text());
    if (trimmed != box->text())
        box->setText(trimmed);
    return CheckNumericInput(m_messages, trimmed, kMaxDigits, RangeLabelText() + suffix);
}

void frmCondition::BoxGotFocus(QLineEdit* box, Qt::FocusReason reason)
{
    switch (reason) {
        case Qt::MouseFocusReason:
            // The press that brought the focus goes on to place the cursor, which
            // would undo a selection made now.
            m_selectOnRelease = box;
            m_focusArrived = true;
            return;
        case Qt::PopupFocusReason:
        case Qt::MenuBarFocusReason:
            return;
        case Qt::ActiveWindowFocusReason:
            if (m_focusArrived)
                return;
            break;
        default:
            break;
    }
    m_focusArrived = true;
    SelectText(box, 0, -1);
}

bool frmCondition::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtRangeMin || watched == txtRangeMax) {
        auto* box = static_cast<QLineEdit*>(watched);
        switch (event->type()) {
            case QEvent::FocusIn:
                BoxGotFocus(box, static_cast<QFocusEvent*>(event)->reason());
                break;
            case QEvent::FocusOut:
                m_selectOnRelease = nullptr;
                break;
            case QEvent::MouseButtonRelease:
                // A drag that selected text keeps its own selection.
                if (m_selectOnRelease == box) {
                    m_selectOnRelease = nullptr;
                    if (!box->hasSelectedText())
                        SelectText(box, 0, -1);
                }
                break;
            default:
                break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// A real box hands the activation back to the dialog only after it has
// gone, so the focus set now arrives with that activation, a reason the focus
// handler leaves alone (the window had the focus before); the text is
// selected here instead.
void frmCondition::FocusAfterWarning(QLineEdit* box)
{
    box->setFocus();
    SelectText(box, 0, -1);
}

void frmCondition::cmdOK_Click()
{
    const QString label = RangeLabelText();

    // Every way to this button leaves a box through its check; should one
    // hold unchecked text all the same, it is checked here rather than read.
    if (!CheckBox(txtRangeMin, QStringLiteral("(From)"))) {
        txtRangeMin->setFocus();
        return;
    }
    if (!CheckBox(txtRangeMax, QStringLiteral("(To)"))) {
        txtRangeMax->setFocus();
        return;
    }

    if (txtRangeMin->text().isEmpty()) {
        m_messages.ShowWarning(label + QStringLiteral("(From)を入力して下さい。"));
        FocusAfterWarning(txtRangeMin);
        return;
    }
    if (txtRangeMax->text().isEmpty()) {
        m_messages.ShowWarning(label + QStringLiteral("(To)を入力して下さい。"));
        FocusAfterWarning(txtRangeMax);
        return;
    }
    // Compared as numbers: "010" against "9" is 10 against 9.
    const int newFrom = txtRangeMin->text().toInt();
    const int newTo = txtRangeMax->text().toInt();
    if (newFrom > newTo) {
        m_messages.ShowWarning(label + QStringLiteral("は、(From)≦(To)で入力して下さい。"));
        FocusAfterWarning(txtRangeMin);
        return;
    }

    // A first range ever counts as narrower: any bound beats -1.
    bool clearResults = false;
    if (newTo < m_state.RangeMax() || newFrom > m_state.RangeMin()) {
        const ui::platform::Answer answer =
            m_messages.AskYesNo(QStringLiteral("抽選範囲が狭くなったので、抽選結果をクリアします。よろしいですか？"),
                                ui::platform::Style::DefaultButton2);
        if (answer == ui::platform::Answer::No)
            return;
        clearResults = true;
    }

    if (newTo != m_state.RangeMax() || newFrom != m_state.RangeMin()) {
        // Stored as typed, so "007" stays "007" in the file. A narrowing that
        // clears stores the range and the clearing in one replace: a crash
        // leaves the old state or the new one, never the new range with the
        // old draws. The drawn flags are sized by the new range.
        const bool saved =
            m_state.ApplyRange(static_cast<std::int16_t>(newFrom), static_cast<std::int16_t>(newTo),
                               txtRangeMin->text().toStdString(), txtRangeMax->text().toStdString(), clearResults);
        m_mainWindow.EditRange();
        if (!saved)
            m_messages.WarnSettingsNotSaved(m_state.SettingsDisplayPath());
        // A wider range asks only now, with the new range on show behind the
        // question; the old draws under the wider range are a sound state.
        if (!clearResults
            && m_messages.AskYesNo(QStringLiteral("抽選範囲が変更されました。抽選結果をクリアしますか？"),
                                   ui::platform::Style::DefaultButton2)
                   == ui::platform::Answer::Yes) {
            clearResults = true;
            // One action, one warning: a file that refused the range has
            // already been reported.
            if (!m_state.ResetResults() && saved)
                m_messages.WarnSettingsNotSaved(m_state.SettingsDisplayPath());
        }
        if (clearResults)
            m_mainWindow.EditCount(CountMode::Next);
    }
    accept();
}

void frmCondition::cmdCancel_Click()
{
    reject();
}

void frmCondition::done(int result)
{
    bool cancel = false;
    NotifyFormClosing(this, cancel, m_unloadMode);
    m_unloadMode = UnloadMode::Code;
    if (cancel)
        return;
    QDialog::done(result);
}

void frmCondition::closeEvent(QCloseEvent* event)
{
    // The close box closes without any check; QDialog rejects, which ends in done().
    m_unloadMode = event->spontaneous() ? UnloadMode::CloseBox : UnloadMode::Code;
    QDialog::closeEvent(event);
    m_unloadMode = UnloadMode::Code;
}

// No default and no cancel button: Enter and Esc press nothing, and Esc does
// not close the dialog.
void frmCondition::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tavlo
