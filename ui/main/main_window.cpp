#include "ui/main/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <cmath>

#include "engine/draw_state.h"
#include "ui/common/control_colors.h"
#include "ui/common/form_lifecycle.h"
#include "ui/common/text_helpers.h"
#include "ui/condition/condition_dialog.h"
#include "ui/platform/fonts.h"
#include "ui/platform/system_colors.h"
#include "ui/platform/twips.h"
#include "ui/platform/window_services.h"
#include "ui/results/result_list.h"

namespace tavlo {

using ui::platform::SystemColor;
using ui::platform::TwipsBox;

namespace {

const QString kStart = QStringLiteral("START");
const QString kStop = QStringLiteral("STOP");
const QString kNumberName = QStringLiteral("当選番号");

// The design, in twips. The window's box is its client area; it opens where
// the window system puts it.
constexpr TwipsBox kWindowDesign{0.0f, 0.0f, 10575.0f, 6675.0f};
// The range and ordinal displays along the top.
constexpr TwipsBox kRangeDesign{1200.0f, 120.0f, 3015.0f, 375.0f};
constexpr TwipsBox kCountDesign{4680.0f, 120.0f, 1815.0f, 375.0f};
// The three digit boxes, hundreds first.
constexpr TwipsBox kDigit100Design{240.0f, 720.0f, 2445.0f, 4200.0f};
constexpr TwipsBox kDigit10Design{2880.0f, 720.0f, 2445.0f, 4200.0f};
constexpr TwipsBox kDigit1Design{5520.0f, 720.0f, 2445.0f, 4200.0f};
// The row of the three, for the number as a whole.
constexpr TwipsBox kNumberBox{240.0f, 720.0f, 7725.0f, 4200.0f};
// START/STOP and its hint beside it.
constexpr TwipsBox kStartStopDesign{2040.0f, 5160.0f, 3975.0f, 1335.0f};
constexpr TwipsBox kHintDesign{6120.0f, 5640.0f, 2775.0f, 375.0f};
// The commands down the right.
constexpr TwipsBox kResultListDesign{8400.0f, 840.0f, 1935.0f, 615.0f};
constexpr TwipsBox kConditionDesign{8400.0f, 1680.0f, 1935.0f, 615.0f};
constexpr TwipsBox kClearResultDesign{8400.0f, 2520.0f, 1935.0f, 615.0f};
constexpr TwipsBox kEndDesign{9000.0f, 6000.0f, 1335.0f, 495.0f};
constexpr double kWindowFontSize = 12;
constexpr double kDigitFontSize = 216;
constexpr double kStartStopFontSize = 42;

// Displays along the top and the digit boxes in the middle.
constexpr std::uint32_t kDisplayBack = SystemColor(ui::platform::COLOR_INACTIVECAPTIONTEXT);
constexpr std::uint32_t kDisplayText = SystemColor(ui::platform::COLOR_INFOTEXT);
constexpr std::uint32_t kDigitBack = SystemColor(ui::platform::COLOR_ACTIVECAPTION);
constexpr std::uint32_t kDigitText = SystemColor(ui::platform::COLOR_CAPTIONTEXT);
constexpr std::uint32_t kStartStopDesignBack = ui::platform::Rgb(255, 192, 192);
// Start-up recolours the button a shade off its design value; this one shows.
constexpr std::uint32_t kStartStopBack = ui::platform::Rgb(255, 191, 191);
constexpr std::uint32_t kRangeNotSetText = ui::platform::Rgb(255, 0, 0);

QLineEdit* MakeDisplay(QWidget* window, const char* name, const QString& text, QRect geometry, const QFont& font,
                       std::uint32_t back, std::uint32_t fore)
{
    // The text after the font: a text given to the constructor is laid out at
    // once in the default face, whose Japanese fallbacks cost start-up time.
    auto* box = new QLineEdit(window);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setFont(font);
    box->setText(text);
    box->setAlignment(Qt::AlignCenter);
    box->setReadOnly(true);
    SetBackColor(box, back);
    SetForeColor(box, fore);
    return box;
}

QPushButton* MakeButton(QWidget* window, const char* name, const QString& caption, QRect geometry)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    // A focused button takes Enter itself; elsewhere Enter goes to the
    // window, which presses cmdStartStop.
    button->setAutoDefault(true);
    return button;
}

// No modifier but the keypad's.
bool IsUnmodified(const QKeyEvent* event)
{
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A digit box turns one step: the value's last digit plus one, modulo 10.
void Advance(QLineEdit* box)
{
    const double value = box->text().toDouble();
    const auto next = static_cast<long long>(std::floor(value)) + 1;
    box->setText(QString::number(((next % 10) + 10) % 10));
}

}  // namespace

frmTavlo::frmTavlo(DrawState& state, ui::platform::MessageBoxes& boxes, ui::platform::ScreenAwake& awake,
                   QWidget* parent)
    : QWidget(parent), m_state(state), m_messages(boxes, *this), m_awake(*this, awake)
{
    CreateControls();
    Load();
}

frmTavlo::~frmTavlo() = default;

void frmTavlo::CreateControls()
{
    setObjectName(QStringLiteral("frmTavlo"));
    setWindowTitle(QStringLiteral("Tavlo"));
    setFont(ui::platform::GothicFont(kWindowFontSize));
    resize(TwipsRect(kWindowDesign).size());

    const QFont windowFont = font();
    const QFont digitFont = ui::platform::GothicFont(kDigitFontSize);

    // Created in tab order, which is also the order of the focus chain.
    txtRange = MakeDisplay(this, "txtRange", QStringLiteral("抽選範囲 : nnn ～ nnn"), TwipsRect(kRangeDesign),
                           windowFont, kDisplayBack, kDisplayText);
    txtCount = MakeDisplay(this, "txtCount", QStringLiteral("次 nnn回目"), TwipsRect(kCountDesign), windowFont,
                           kDisplayBack, kDisplayText);
    txt100 =
        MakeDisplay(this, "txt100", QStringLiteral("0"), TwipsRect(kDigit100Design), digitFont, kDigitBack, kDigitText);
    txt10 =
        MakeDisplay(this, "txt10", QStringLiteral("0"), TwipsRect(kDigit10Design), digitFont, kDigitBack, kDigitText);
    txt1 = MakeDisplay(this, "txt1", QStringLiteral("0"), TwipsRect(kDigit1Design), digitFont, kDigitBack, kDigitText);
    for (QLineEdit* digit : {txt100, txt10, txt1})
        digit->setTextMargins(0, 0, 0, 0);
    // What a screen reader calls each display.
    txtRange->setAccessibleName(QStringLiteral("抽選範囲"));
    txtCount->setAccessibleName(QStringLiteral("抽選回数"));
    txt100->setAccessibleName(QStringLiteral("百の位"));
    txt10->setAccessibleName(QStringLiteral("十の位"));
    txt1->setAccessibleName(QStringLiteral("一の位"));
    // A screen reader would read the number drawn as three single digits, one
    // box at a time. This label over their row holds it whole, in its
    // accessible name, which the end of each spin changes once. It has no
    // text, so it draws nothing, and takes neither clicks nor the focus: the
    // window looks and behaves as designed.
    lblNumber = new QLabel(this);
    lblNumber->setObjectName(QStringLiteral("lblNumber"));
    lblNumber->setGeometry(TwipsRect(kNumberBox));
    lblNumber->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblNumber->setFocusPolicy(Qt::NoFocus);
    lblNumber->setAccessibleName(kNumberName);

    cmdStartStop = MakeButton(this, "cmdStartStop", kStart, TwipsRect(kStartStopDesign));
    cmdStartStop->setFont(ui::platform::GothicFont(kStartStopFontSize));
    // The four small buttons are graphical in the design too, but in the
    // button face, which the platform's look gives them as well.
    DrawInOwnColor(cmdStartStop);
    SetBackColor(cmdStartStop, kStartStopDesignBack);
    cmdResultList = MakeButton(this, "cmdResultList", QStringLiteral("結果表示(&R)"), TwipsRect(kResultListDesign));
    cmdCondition = MakeButton(this, "cmdCondition", QStringLiteral("条件入力(&J)"), TwipsRect(kConditionDesign));
    cmdClearResult =
        MakeButton(this, "cmdClearResult", QStringLiteral("結果クリア(&C)"), TwipsRect(kClearResultDesign));
    cmdEnd = MakeButton(this, "cmdEnd", QStringLiteral("終了(&X)"), TwipsRect(kEndDesign));

    Label1 = new QLabel(QStringLiteral("← Enterで動きます"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(TwipsRect(kHintDesign));
    Label1->setFont(ui::platform::GothicFont(kWindowFontSize, QFont::Bold));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Label1->setFocusPolicy(Qt::NoFocus);

    QWidget* previous = txtRange;
    for (QWidget* next : std::initializer_list<QWidget*>{txtCount, txt100, txt10, txt1, cmdStartStop, cmdResultList,
                                                         cmdCondition, cmdClearResult, cmdEnd}) {
        setTabOrder(previous, next);
        previous = next;
    }
    txtRange->setFocus();

    // A focused button takes Enter before the window sees it.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    connect(cmdStartStop, &QPushButton::clicked, this, &frmTavlo::cmdStartStop_Click);
    connect(cmdResultList, &QPushButton::clicked, this, &frmTavlo::cmdResultList_Click);
    connect(cmdCondition, &QPushButton::clicked, this, &frmTavlo::cmdCondition_Click);
    connect(cmdClearResult, &QPushButton::clicked, this, &frmTavlo::cmdClearResult_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &frmTavlo::cmdEnd_Click);
}

// The load sequence. A second instance never gets here: main() ends it first.
void frmTavlo::Load()
{
    PrepareFormControls(this);
    m_state.Load();
    EditRange();
    EditCount(CountMode::Next);
    SetBackColor(cmdStartStop, kStartStopBack);
    SetStartStopCaption(kStart);
    // Taken for a missing file, an unreadable one would show no drawing, and
    // a first range confirmed with clearing would then delete it.
    if (m_state.IsFileUnreadable())
        m_messages.ShowWarning(QStringLiteral("設定ファイルを読み込めませんでした。") + u'\n'
                               + QString::fromStdString(m_state.SettingsDisplayPath()));
    WarnIfLogFailed();
}

void frmTavlo::EditRange()
{
    if (m_state.IsRangeValid()) {
        const int width = static_cast<int>(QString::number(m_state.RangeMax()).size());
        txtRange->setText(QStringLiteral("抽選範囲 : %1 ～ %2")
                              .arg(m_state.RangeMin(), width, 10, QLatin1Char('0'))
                              .arg(m_state.RangeMax()));
        SetForeColor(txtRange, kDisplayText);
    } else {
        txtRange->setText(QStringLiteral("抽選範囲 : 未設定"));
        SetForeColor(txtRange, kRangeNotSetText);
    }
    ui::platform::RepaintNow(this);
}

void frmTavlo::EditCount(CountMode enmCountMode)
{
    txtCount->setText(QString());
    int ordinal = m_state.Count();
    QString text;
    if (enmCountMode == CountMode::Next) {
        text = QStringLiteral("次 ");
        ordinal += 1;
    }
    txtCount->setText(text + QString::number(ordinal) + QStringLiteral("回目"));
    ui::platform::RepaintNow(this);
}

void frmTavlo::ClearResult()
{
    const bool saved = m_state.ResetResults();
    EditCount(CountMode::Next);
    WarnIfNotSaved(saved);
}

bool frmTavlo::IsSpinning() const
{
    return StartStopCaption() == kStop;
}

QString frmTavlo::StartStopCaption() const
{
    return UnescapeAmpersand(cmdStartStop->text());
}

void frmTavlo::SetStartStopCaption(const QString& caption)
{
    cmdStartStop->setText(EscapeAmpersand(caption));
}

void frmTavlo::WarnIfNotSaved(bool saved)
{
    if (!saved)
        m_messages.WarnSettingsNotSaved(m_state.SettingsDisplayPath());
}

void frmTavlo::WarnIfLogFailed()
{
    if (const std::optional<std::string> path = m_state.TakeLogFailure())
        m_messages.ShowWarning(
            QStringLiteral("抽選の記録ファイルを正しく書き込めませんでした。\n抽選はこのまま続けられます。") + u'\n'
            + QString::fromStdString(*path));
}

void frmTavlo::cmdStartStop_Click()
{
    if (StartStopCaption() != kStart) {
        Stop();
        return;
    }
    // A START that arrives in the same burst of events as the STOP before it
    // would run nested inside the finishing spin, and that spin would then
    // show its older number over the new one. The press is dropped instead;
    // the spin ends at its next pass and the next press starts afresh.
    if (m_inSpinLoop)
        return;
    Start();
}

// Draws a number, then spins the digits until STOP. The number is chosen and
// saved before the first pass; the spin is only a display. Every other event
// of the program is handled inside the loop's event pump, the STOP click
// among them.
void frmTavlo::Start()
{
    if (!m_state.IsRangeValid()) {
        m_messages.ShowWarning(QStringLiteral("抽選範囲が未設定または異常です。条件設定を行って下さい。"));
        cmdCondition->setFocus();
        return;
    }
    if (m_state.IsAllDrawn()) {
        m_messages.ShowWarning(QStringLiteral("全て抽選されたので、これ以上抽選できません。"));
        return;
    }

    const DrawOutcome outcome = m_state.DrawNumber();
    const int x = outcome.number;
    EditCount(CountMode::Last);
    SetStartStopCaption(kStop);
    ui::platform::RepaintNow(this);
    WarnIfNotSaved(outcome.saved);

    const QPointer<frmTavlo> self(this);
    m_inSpinLoop = true;
    int c = 1;
    for (;;) {
        if (StartStopCaption() != kStop)
            break;
        Advance(txt1);
        if (c % 2 == 0)
            Advance(txt10);
        if (c % 3 == 0)
            Advance(txt100);
        ui::platform::RepaintNow(this);
        emit spinAdvanced();
        c = c + 1 > 3 ? 1 : c + 1;
        const bool goOn = ui::platform::PumpEvents();
        if (!self) {
            // The window went away inside the pump: nobody can press STOP any
            // more, and the program has nothing left to show. The draw is saved.
            QCoreApplication::exit(0);
            return;
        }
        if (!goOn)
            SetStartStopCaption(kStart);  // the program is exiting: let go
    }
    m_inSpinLoop = false;

    txt100->setText(QString::number(x / 100));
    txt10->setText(QString::number((x % 100) / 10));
    txt1->setText(QString::number(x % 10));
    // Once per spin. Qt tells a screen reader of every setting, so the same
    // number drawn again after a clearing is read again too.
    lblNumber->setAccessibleName(kNumberName + u' ' + QString::number(x));
    EditCount(CountMode::Next);
    ui::platform::RepaintNow(this);
    WarnIfLogFailed();
}

void frmTavlo::Stop()
{
    SetStartStopCaption(kStart);
    ui::platform::RepaintNow(this);
}

void frmTavlo::cmdCondition_Click()
{
    {
        frmCondition dialog(m_state, m_messages.boxes(), *this, this);
        dialog.exec();
    }
    ui::platform::ActivateWindow(this);
    WarnIfLogFailed();
    cmdStartStop->setFocus();
}

void frmTavlo::cmdResultList_Click()
{
    if (m_state.Count() > 0) {
        frmResultList list(m_state, this);
        list.exec();
        ui::platform::ActivateWindow(this);
    } else {
        m_messages.ShowWarning(QStringLiteral("結果はありません。"));
    }
    cmdStartStop->setFocus();
}

void frmTavlo::cmdClearResult_Click()
{
    const ui::platform::Answer answer = m_messages.AskYesNo(QStringLiteral("抽選結果をクリアします。よろしいですか？"),
                                                            ui::platform::Style::DefaultButton2);
    if (answer != ui::platform::Answer::No) {
        ClearResult();
        WarnIfLogFailed();
    }
    cmdStartStop->setFocus();
}

void frmTavlo::cmdEnd_Click()
{
    const ui::platform::Answer answer =
        m_messages.AskYesNo(QStringLiteral("終了します。よろしいですか？"), ui::platform::Style::DefaultButton1);
    if (answer == ui::platform::Answer::No) {
        cmdStartStop->setFocus();
        return;
    }
    close();
}

bool frmTavlo::SaveBeforeEnding()
{
    return m_state.CatchUp();
}

// Draws that only memory holds since a write failed get one more try at the
// file; should it fail again, the user decides whether they may be lost.
bool frmTavlo::ConfirmEnding()
{
    if (m_state.CatchUp()
        || m_messages.AskYesNo(QStringLiteral("設定ファイルに書き込めないため、保存されていない抽選結果があります。")
                                   + u'\n' + QStringLiteral("このまま終了すると、その結果は失われます。終了しますか？"),
                               ui::platform::Style::DefaultButton2)
               == ui::platform::Answer::Yes)
        return true;
    cmdStartStop->setFocus();
    return false;
}

// While the digits spin, every close request is refused, whatever its cause.
void frmTavlo::closeEvent(QCloseEvent* event)
{
    if (IsSpinning()) {
        m_messages.ShowWarning(kStop + QStringLiteral(" ボタンを押してから終了して下さい。"));
        cmdStartStop->setFocus();
        event->ignore();
        return;
    }
    if (!ConfirmEnding()) {
        event->ignore();
        return;
    }
    event->accept();
}

// A key held down repeats its press; one press must stay one START or one
// STOP, or numbers nobody saw would be drawn and saved. A presenter's clicker
// sends PageDown for "next": it presses cmdStartStop whichever control has
// the focus, buttons included.
bool frmTavlo::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_keys.IsRepeat(key))
            return true;
        if (key->key() == Qt::Key_PageDown && IsUnmodified(key)) {
            cmdStartStop->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// cmdStartStop is the window's default button: Enter presses it unless a
// focused command button takes the key first; so does PageDown. Esc and the
// clicker's other keys do nothing.
void frmTavlo::keyPressEvent(QKeyEvent* event)
{
    if (m_keys.IsRepeat(event)) {
        event->accept();
        return;
    }
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_PageDown) && IsUnmodified(event)) {
        event->accept();
        cmdStartStop->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tavlo
