#include "myqquickview.h"

#include "hid_thread.h"

#include <QQuickItem>
#include <QSettings>

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    setResizeMode(QQuickWidget::SizeViewToRootObject);
    setClearColor(Qt::transparent);
    apConfig = new QSettings(QStringLiteral("./modules/setting/apConfig.bin"), QSettings::IniFormat, this);
}

myQQuickView::~myQQuickView() = default;

QSettings *myQQuickView::currentProfileSettings()
{
    return curProfile < profiles.size() ? profiles.at(curProfile) : nullptr;
}

void myQQuickView::syncFW()
{
    if (!hid)
        return;
    ushort version = 0;
    uchar mode = kbLayoutType;
    hid->hid_80H_GetFWVersion(version, mode);
    uchar profile = 0;
    hid->hid_A1H_GetCurrentProfile(profile);
}

void myQQuickView::queueRootCall(const char *function)
{
    if (QObject *root = rootObject())
        QMetaObject::invokeMethod(root, function, Qt::QueuedConnection);
}

void myQQuickView::initUI() { queueRootCall("initUI"); }
void myQQuickView::zzzMorvel() { queueRootCall("zzzMorvel"); }
void myQQuickView::runUI() { queueRootCall("run"); }

void myQQuickView::forwardKeyboardEvent(bool isDown, int usbCode)
{
    if (QObject *root = rootObject())
        QMetaObject::invokeMethod(root, "detectKeyboard", Qt::QueuedConnection,
                                  Q_ARG(QVariant, isDown), Q_ARG(QVariant, usbCode));
}

void myQQuickView::forwardMouseEvent(bool isDown, uint code, uint x, uint y)
{
    if (QObject *root = rootObject())
        QMetaObject::invokeMethod(root, "detectMouse", Qt::QueuedConnection,
                                  Q_ARG(QVariant, isDown), Q_ARG(QVariant, code),
                                  Q_ARG(QVariant, x), Q_ARG(QVariant, y));
}
