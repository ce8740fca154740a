#include "hookcallbacks.h"
#include "inputhook.h"
#include "myqquickview.h"
#include "quitonsignal.h"
#include "widget.h"

#include <QApplication>
#include <QDir>

#ifdef K3_SIMULATED_KEYBOARD
#include "k3sim.h"

// The simulated keyboard's plug and unplug stand in for the system's device-change notices.
static void simulatedDeviceChange(void *widget)
{
    QMetaObject::invokeMethod(static_cast<Widget *>(widget), &Widget::deviceChanged, Qt::QueuedConnection);
}
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Every data path is relative to the program's folder, wherever we were started from.
    const QString self = QCoreApplication::applicationFilePath();
    QDir::setCurrent(self.left(self.lastIndexOf(QLatin1Char('/'))));
    quitOnTerminationSignals();

    int exitCode = 0;
    {
        Widget widget;
#ifdef K3_SIMULATED_KEYBOARD
        k3sim::setPlugListener(simulatedDeviceChange, &widget);
#endif
        widget.checkDevice();
        // Declared after the widget, so the capture is gone before the window is,
        // also when we leave by an exception.
        InputHook hook;
        hook.install(widget.view()->kbLayoutType == 0);
        hook.setKeyboardCallback(keyboardHookCallback, &widget);
        hook.setMouseCallback(mouseHookCallback, &widget);
        widget.showNormal();
        widget.beginUi();
        exitCode = app.exec();
        hook.uninstall();
#ifdef K3_SIMULATED_KEYBOARD
        k3sim::setPlugListener(nullptr, nullptr);
#endif
    }
    return exitCode;
}
