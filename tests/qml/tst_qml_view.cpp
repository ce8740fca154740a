#include "recorder.h"

#include "hid_thread.h"
#include "k3sim.h"
#include "myqquickview.h"
#include "simulatedk3.h"
#include "viewfiles.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>
#include <memory>

// Runs the documents against the real view over the simulated keyboard, in a
// copy of the staged program folder, so the shipped data (languages,
// configuration, hardware definition) goes through the documents.
class ViewSetup : public QObject
{
    Q_OBJECT
public:
    explicit ViewSetup(const QString &stagedModules) : staged(stagedModules) {}

public slots:
    void applicationAvailable()
    {
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), staged, dir.path()});
        QDir::setCurrent(dir.path());
        viewfiles::Dialogs::openFile = &noFile;
        viewfiles::Dialogs::saveFile = &noFile;
        viewfiles::Dialogs::warning = &noWarning;
        k3sim::reset();
        hid.rescan({simulatedK3Entry()});
        view = std::make_unique<myQQuickView>();
        view->hid = &hid;
        hid.owner = view.get();
    }
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("ui_View"), view.get());
        engine->rootContext()->setContextProperty(QStringLiteral("ui_Ctl"), &ctl);
        engine->rootContext()->setContextProperty(QStringLiteral("programDir"), dir.path());
    }
    void cleanupTestCase()
    {
        while (!hid.isTokenFree())
            QCoreApplication::processEvents();
        hid.owner = nullptr;
        view.reset();
    }

private:
    static QString noFile(QWidget *, const QString &, const QString &, const QString &) { return {}; }
    static void noWarning(const QString &, const QString &) {}

    QString staged;
    QTemporaryDir dir;
    Hid_Thread hid;
    std::unique_ptr<myQQuickView> view;
    Recorder ctl;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ViewSetup setup(QStringLiteral(K3_STAGED_MODULES));
    return quick_test_main_with_setup(argc, argv, "k3qml_view", QUICK_TEST_SOURCE_DIR "/realview", &setup);
}

#include "tst_qml_view.moc"
