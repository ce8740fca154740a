#include "widget.h"

#include "devicechangemonitor.h"
#include "devinfo.h"
#include "myqquickview.h"
#include "ui_controler.h"
#include "userevent.h"

#include <QCoreApplication>
#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

Widget::Widget(QWidget *parent)
    : QWidget(parent)
{
    hid.owner = this;
    ctl = new Ui_Controler;
    ctl->setupWindow(this, &hid);
    ctl->view->hid = &hid;
    checkTimer.setInterval(kRecheckMs);
    checkTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the re-check is 2048 ms after the last change.
    checkTimer.setTimerType(Qt::PreciseTimer);
    connect(&checkTimer, &QTimer::timeout, this, &Widget::checkDevice);

    monitor = new DeviceChangeMonitor(this);
    connect(monitor, &DeviceChangeMonitor::changed, this, &Widget::deviceChanged);
}

Widget::~Widget()
{
    // The listener reaches the view through us: stop it before anything goes.
    hid.stopListener();
    // The view outlives the device link (it is one of our children): whatever
    // the documents still call while they are torn down must not reach it.
    if (myQQuickView *v = view())
        v->hid = nullptr;
    // The event loop has ended, so a deferred deletion would never run.
    delete ctl;
    ctl = nullptr;
}

myQQuickView *Widget::view() const
{
    return ctl ? ctl->view : nullptr;
}

void Widget::beginUi()
{
    ctl->setBusy(1);
    ctl->view->initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::StartUi));
}

void Widget::checkDevice()
{
    myQQuickView *v = view();
    QStringList names;
    if (v && v->apConfig)
        names = v->apConfig->value(QStringLiteral("common/product_name")).toStringList();
    hid.rescan(readDeviceCatalogue(QStringLiteral(":/DevInfo.ini"), names));
    hid.swichCurDevice(hid.currentDevice());
    if (v)
        v->syncFW();
}

void Widget::deviceChanged()
{
    checkTimer.start();
}

QSettings *Widget::currentProfileSettings()
{
    myQQuickView *v = view();
    return v ? v->currentProfileSettings() : nullptr;
}

void Widget::lightingChanged()
{
    if (myQQuickView *v = view())
        v->zzzMorvel();
}

void Widget::customEvent(QEvent *event)
{
    const auto *user = dynamic_cast<UserEvent *>(event);
    if (event->type() != QEvent::User || !user || user->code() != UserEvent::StartUi)
        return;
    ctl->setBusy(0);
    ctl->view->runUI();
}

#ifdef Q_OS_WIN
bool Widget::nativeEvent(const QByteArray &eventType, void *message, qintptr *result)
{
    Q_UNUSED(result);
    if (eventType == "windows_generic_MSG" && static_cast<MSG *>(message)->message == WM_DEVICECHANGE)
        deviceChanged();
    return false;  // never consumed
}
#endif
