#include "ui_controler.h"

#include "hid_thread.h"
#include "myqquickview.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QSettings>
#include <QWidget>

QUrl Ui_Controler::rootDocument(QStringLiteral("qrc:modules/qml/main.qml"));

void Ui_Controler::setupWindow(QWidget *w, Hid_Thread *hid)
{
    if (w->objectName().isEmpty())
        w->setObjectName(QStringLiteral("Widget"));
    widget = w;
    w->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    w->setWindowOpacity(1.0);
    w->setAttribute(Qt::WA_TranslucentBackground, true);
    w->setStyleSheet(QStringLiteral("background:transparent;"));

    view = new myQQuickView(w);
    view->setObjectName(QStringLiteral("ui_View"));
    view->setSource(rootDocument);
    // The documents use these only in functions that run after loading.
    QQmlContext *context = view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), view);
    context->setContextProperty(QStringLiteral("hid"), hid);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);
    w->resize(view->size());

    const QSettings apConfig(QStringLiteral("./modules/setting/apConfig.bin"), QSettings::IniFormat);
    w->setWindowTitle(apConfig.value(QStringLiteral("common/name")).toString());
}

void Ui_Controler::onMinimize()
{
    if (widget)
        widget->close();
}

void Ui_Controler::onXChanged(int x)
{
    if (widget)
        widget->move(widget->x() + x, widget->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (widget)
        widget->move(widget->x(), widget->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (view && view->rootObject())
        QMetaObject::invokeMethod(view->rootObject(), "setProtectUI", Qt::DirectConnection,
                                  Q_ARG(QVariant, QVariant(busyTime)));
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
