#pragma once

// A temporary program folder with a modules/ tree of small files, made the
// working directory while it lives, and a view over the simulated keyboard.

#include "devinfo.h"
#include "hid_thread.h"
#include "k3sim.h"
#include "myqquickview.h"
#include "viewfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "simulatedk3.h"

namespace viewtest {

class ModulesDir
{
public:
    ModulesDir() : previous(QDir::currentPath())
    {
        for (const char *sub : {"setting", "i18n", "img", "media", "update", "macro"})
            QDir(dir.path()).mkpath(QStringLiteral("modules/") + QLatin1String(sub));
        QDir::setCurrent(dir.path());
    }
    ~ModulesDir() { QDir::setCurrent(previous); }

    // Writes `text` to modules/<relative>.
    void write(const QString &relative, const QByteArray &text) const
    {
        QFile f(path(relative));
        QDir().mkpath(QFileInfo(f).absolutePath());
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(text);
    }
    QByteArray read(const QString &relative) const
    {
        QFile f(path(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &relative) const { return QFile::exists(path(relative)); }
    QString path(const QString &relative) const { return dir.path() + QStringLiteral("/modules/") + relative; }
    QString root() const { return dir.path(); }

private:
    QTemporaryDir dir;
    QString previous;
};

// The view with a device link over the simulated keyboard, found and selected
// as the main window does it (without the listener).
struct ViewUnderTest
{
    ViewUnderTest()
    {
        k3sim::reset();
        hid.rescan({simulatedK3Entry()});
        view = std::make_unique<myQQuickView>();
        view->hid = &hid;
        hid.owner = view.get();
    }
    ~ViewUnderTest()
    {
        waitIdle();
        hid.owner = nullptr;
        view.reset();
    }
    // Waits until the last fire-and-forget write has finished.
    bool waitIdle(int ms = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (!hid.isTokenFree() && t.elapsed() < ms)
            QTest::qWait(1);
        return hid.isTokenFree();
    }

    Hid_Thread hid;
    std::unique_ptr<myQQuickView> view;
};

// Replaces the file dialogs and the warning box for one test.
struct FakeDialogs
{
    static inline QString nextPath;
    static inline QString lastCaption;
    static inline QString lastFilter;
    static inline QStringList warnings;   // title, text, title, text, ...

    FakeDialogs()
    {
        nextPath.clear();
        lastCaption.clear();
        lastFilter.clear();
        warnings.clear();
        viewfiles::Dialogs::openFile = &file;
        viewfiles::Dialogs::saveFile = &file;
        viewfiles::Dialogs::warning = &warn;
    }
    static QString file(QWidget *, const QString &caption, const QString &, const QString &filter)
    {
        lastCaption = caption;
        lastFilter = filter;
        return nextPath;
    }
    static void warn(const QString &title, const QString &text) { warnings << title << text; }
};

} // namespace viewtest
