#include "ui/results/result_list.h"

#include <algorithm>

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStringList>

#include "engine/draw_state.h"
#include "ui/common/form_lifecycle.h"
#include "ui/common/screen_placement.h"
#include "ui/platform/clipboard.h"
#include "ui/platform/fonts.h"
#include "ui/platform/twips.h"
#include "ui/results/result_line.h"

namespace tavlo {

namespace {

using ui::platform::TwipsBox;

// The design, in twips. The window's box is its client area, measured from
// the screen's top-left corner.
constexpr TwipsBox kWindowDesign{2775.0f, 3765.0f, 3150.0f, 6255.0f};
constexpr TwipsBox kListDesign{120.0f, 120.0f, 2895.0f, 5340.0f};
constexpr TwipsBox kButtonDesign{960.0f, 5640.0f, 1335.0f, 495.0f};
constexpr double kFontPoints = 12.0;

}  // namespace

frmResultList::frmResultList(const DrawState& state, QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmResultList"));
    setWindowTitle(QStringLiteral(u"結果表示"));
    // Maximise stays, for a long list; minimise goes: a minimised modal window
    // would leave the user before a main window that takes no input, with
    // nothing on screen to bring the list back.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The lines are columns of half-width characters: the face is fixed-pitch.
    setFont(ui::platform::GothicFont(kFontPoints));

    lstResult = new QListWidget(this);
    lstResult->setObjectName(QStringLiteral("lstResult"));
    lstResult->setUniformItemSizes(true);
    lstResult->setFocusPolicy(Qt::StrongFocus);
    // As the platform's list box: no sideways scrolling, which would also
    // take a strip off the whole lines below.
    lstResult->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Place(lstResult, m_listPlacement, kListDesign);

    cmdClose = new QPushButton(QStringLiteral(u"閉じる"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    // No default button: Enter on the list must not close the window, and an
    // auto-default button would become the default as soon as the dialog shows.
    cmdClose->setAutoDefault(false);
    cmdClose->setDefault(false);
    Place(cmdClose, m_buttonPlacement, kButtonDesign);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(lstResult, cmdClose);
    lstResult->setFocus();

    // The results go elsewhere (a mail, a spreadsheet) without retyping:
    // from either control by key, or from the list's menu.
    m_copyAction = new QAction(QStringLiteral(u"結果をコピー(&C)"), this);
    m_copyAction->setObjectName(QStringLiteral("mnuCopyResult"));
    m_copyAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)});
    m_copyAction->setShortcutContext(Qt::WindowShortcut);
    addAction(m_copyAction);
    connect(m_copyAction, &QAction::triggered, this, &frmResultList::CopyResults);
    lstResult->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lstResult, &QWidget::customContextMenuRequested, this, &frmResultList::ShowContextMenu);
    lstResult->viewport()->installEventFilter(this);

    PlaceAtDesignedBox(*this, owner, TwipsRect(kWindowDesign));

    PrepareFormControls(this);

    const std::vector<std::int16_t>& results = state.Results();
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(results.size()));
    for (std::size_t ordinal = 1; ordinal < results.size(); ++ordinal)
        lines.append(ResultLine(static_cast<int>(ordinal), results[ordinal]));
    lstResult->addItems(lines);
}

void frmResultList::CopyResults()
{
    QStringList lines;
    lines.reserve(lstResult->count());
    for (int row = 0; row < lstResult->count(); ++row)
        lines.append(lstResult->item(row)->text());
    ui::platform::CopyLinesToClipboard(lines);
}

void frmResultList::ShowContextMenu(const QPoint& viewportPos)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuResult"));
    menu.addAction(m_copyAction);
    menu.exec(lstResult->viewport()->mapToGlobal(viewportPos));
}

// A right-click only opens the menu: the list's current line and selection
// stay as they were, as with the platform's own list box.
bool frmResultList::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                return true;
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void frmResultList::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOut();
}

void frmResultList::LayOut()
{
    const auto scaleWidth = static_cast<float>(ui::platform::PixelsToTwips(width()));
    const auto scaleHeight = static_cast<float>(ui::platform::PixelsToTwips(height()));

    const TwipsBox list = ReadBack(lstResult, m_listPlacement);
    const TwipsBox button = ReadBack(cmdClose, m_buttonPlacement);
    const ResultListSize size = SizeResultList(scaleWidth, scaleHeight, list, button);

    Place(lstResult, m_listPlacement, {list.left, list.top, size.width, size.height});
    KeepWholeLines();

    const TwipsBox sizedList = ReadBack(lstResult, m_listPlacement);
    const ResultButtonPlace place = PlaceResultButton(sizedList, size.gap, button.width);
    Place(cmdClose, m_buttonPlacement, {place.left, place.top, button.width, button.height});
}

// The list shows whole lines only, as the platform's list box does unless
// told otherwise: its height comes down to a whole number of rows plus its
// frame. The layout then reads the height back from the pixels.
void frmResultList::KeepWholeLines()
{
    if (lstResult->count() == 0)
        return;
    const int row = lstResult->sizeHintForRow(0);
    const int frame = lstResult->height() - lstResult->maximumViewportSize().height();
    if (row <= 0)
        return;
    const int rows = std::max(1, (lstResult->height() - frame) / row);
    lstResult->resize(lstResult->width(), rows * row + frame);
}

void frmResultList::Place(QWidget* control, Placement& placement, const ui::platform::TwipsBox& box)
{
    control->setGeometry(TwipsRect(box));
    placement.twips = box;
    placement.pixels = TwipsRect(box);
}

// A control's place in twips. Pixels lose fractions of the layout (907.5
// twips stand as 60.5 pixels), and the width floor, read from the button,
// would then drift at every resize; so a value still standing where the last
// layout put it reads back as that layout's exact value. A value that changed
// since (a list box keeping to whole lines, say) is read from the pixels.
ui::platform::TwipsBox frmResultList::ReadBack(const QWidget* control, const Placement& placement)
{
    const QRect now = control->geometry();
    const auto pick = [](int pixels, int placedPixels, float placedTwips) {
        return pixels == placedPixels ? placedTwips : static_cast<float>(ui::platform::PixelsToTwips(pixels));
    };
    return {pick(now.x(), placement.pixels.x(), placement.twips.left),
            pick(now.y(), placement.pixels.y(), placement.twips.top),
            pick(now.width(), placement.pixels.width(), placement.twips.width),
            pick(now.height(), placement.pixels.height(), placement.twips.height)};
}

void frmResultList::keyPressEvent(QKeyEvent* event)
{
    // cmdClose is the cancel button: Esc presses it wherever the focus is.
    if (event->matches(QKeySequence::Cancel)) {
        cmdClose->click();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // There is no default button: Enter presses cmdClose only when it has
        // the focus, and does nothing on the list.
        if (focusWidget() == cmdClose)
            cmdClose->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tavlo
