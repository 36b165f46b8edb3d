#include "ui/main/awake_while_active.h"

#include <QEvent>
#include <QGuiApplication>
#include <QWidget>

#include "ui/platform/screen_awake.h"

namespace tavlo {

AwakeWhileActive::AwakeWhileActive(QWidget& mainWindow, ui::platform::ScreenAwake& awake)
    : m_mainWindow(mainWindow), m_awake(awake)
{
    m_mainWindow.installEventFilter(this);
    // Active while any window of the program has the focus: the main window
    // giving it to the condition dialog or a message box changes nothing.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, &AwakeWhileActive::Update);
}

AwakeWhileActive::~AwakeWhileActive()
{
    if (m_held)
        m_awake.Release();
}

bool AwakeWhileActive::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            Update();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void AwakeWhileActive::Update()
{
    const bool inUse = QGuiApplication::applicationState() == Qt::ApplicationActive && m_mainWindow.isVisible()
                       && !m_mainWindow.isMinimized();
    if (inUse == m_held)
        return;
    m_held = inUse;
    if (inUse)
        m_awake.Hold();
    else
        m_awake.Release();
}

}  // namespace tavlo
