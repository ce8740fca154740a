#include "recorder.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest>

// Publishes the recorders as ui_View and ui_Ctl before the test documents load.
class Setup : public QObject
{
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), &view);
        engine->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &ctl);
    }

private:
    Recorder view;
    Recorder ctl;
};

QUICK_TEST_MAIN_WITH_SETUP(k3qml, Setup)

#include "tst_qml.moc"
