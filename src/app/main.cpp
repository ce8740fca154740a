#include "myqquickview.h"
#include "widget.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Every data path is relative to the program's folder, wherever we were started from.
    const QString self = QCoreApplication::applicationFilePath();
    QDir::setCurrent(self.left(self.lastIndexOf(QLatin1Char('/'))));

    int exitCode = 0;
    {
        Widget widget;
        widget.checkDevice();
        widget.showNormal();
        widget.beginUi();
        exitCode = app.exec();
    }
    return exitCode;
}
