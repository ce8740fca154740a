// Construction and destruction of the view, the interface sounds, the updater
// launch and the queued calls into the root document.
#include "myqquickview.h"

#include "hid_thread.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QProcess>
#include <QQuickItem>
#include <QSettings>
#include <QThread>
#include <QUrl>

namespace {

const char *const kMediaFiles[myQQuickView::kMediaCount] = {
    "./modules/media/00.mp3", "./modules/media/01.wav", "./modules/media/02.wav",
    "./modules/media/03.wav", "./modules/media/04.wav",
};

const char kUpdaterPath[] = "./modules/update/UX318.exe";

QUrl mediaUrl(int index)
{
    return QUrl::fromLocalFile(QFileInfo(QString::fromLatin1(kMediaFiles[index])).absoluteFilePath());
}

} // namespace

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    setResizeMode(QQuickWidget::SizeViewToRootObject);
    setClearColor(Qt::transparent);
    setupMedia();
    readHardwareCommon();
    apConfig = openSettings(QStringLiteral("./modules/setting/apConfig.bin"));
    openProfiles();
}

// Settings objects and players are children of the view; the settings objects
// write their pending changes when they go.
myQQuickView::~myQQuickView()
{
    usbCodeMap.clear();
    msgStrings.clear();
    profiles.clear();
}

QSettings *myQQuickView::openSettings(const QString &path)
{
    return new QSettings(path, QSettings::IniFormat, this);
}

QSettings *myQQuickView::currentProfileSettings()
{
    return curProfile < profiles.size() ? profiles.at(curProfile) : nullptr;
}

void myQQuickView::setupMedia()
{
    for (int i = 0; i < kMediaCount; ++i) {
        auto *player = new QMediaPlayer(this);
        auto *output = new QAudioOutput(this);
        player->setAudioOutput(output);
        media[i] = player;
        audioOutputs.append(output);
    }
    // The start-up sound and the music itself both lead to the music.
    for (int i : {0, 1}) {
        connect(media[i], &QMediaPlayer::mediaStatusChanged, this,
                [this](QMediaPlayer::MediaStatus status) {
                    if (status == QMediaPlayer::EndOfMedia)
                        playMedia_Background();
                });
    }
}

void myQQuickView::setEnableAudio(bool isEnable) { audioEnabled = isEnable; }

void myQQuickView::playMedia_Index(uchar index)
{
    if (!audioEnabled || index >= kMediaCount)
        return;
    if (index == 0) {
        playMedia_Background();
        return;
    }
    QMediaPlayer *player = media[index];
    player->stop();
    player->setSource(QUrl());
    player->setSource(mediaUrl(index));
    player->play();
}

void myQQuickView::playMedia_Background()
{
    QMediaPlayer *player = media[0];
    player->setSource(mediaUrl(0));
    player->play();
}

void myQQuickView::clearAllMedia()
{
    for (QMediaPlayer *player : media) {
        player->stop();
        player->setSource(QUrl());
    }
}

void myQQuickView::openUpdateExe()
{
    if (hid)
        hid->stopListener();
    // Gives the keyboard time to settle before the updater opens it.
    QThread::msleep(500);
    auto *process = new QProcess(this);
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            process->deleteLater();
    });
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(QString::fromLatin1(kUpdaterPath), QStringList(), QIODevice::ReadWrite);
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
