// Stand-in for the keyboard's firmware updater: reports that no update is needed and exits.
// It prints the notice on standard output and, when a display is available, shows it in a
// message box that closes by itself, so a forgotten window never outlives its purpose.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {
constexpr int kAutoCloseMs = 20000;
const char *const kTitle = "K3 Firmware Update";
const char *const kText = "The keyboard's firmware is up to date. No update is needed.";
}

int main(int argc, char *argv[])
{
    std::printf("%s: %s\n", kTitle, kText);
    std::fflush(stdout);

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // Without any display QApplication would abort; the printed notice is all there is to show.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return 0;
#endif

    QApplication app(argc, argv);
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return 0;

    QMessageBox box(QMessageBox::Information, QString::fromLatin1(kTitle),
                    QString::fromLatin1(kText), QMessageBox::Ok);
    QTimer::singleShot(kAutoCloseMs, &box, &QMessageBox::accept);
    box.exec();
    return 0;
}
