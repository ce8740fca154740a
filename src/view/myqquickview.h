#pragma once

#include "deviceowner.h"

#include <QList>
#include <QMap>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>

class Hid_Thread;
class QSettings;

// The view that shows the UI documents and is published to them as ui_View.
class myQQuickView : public QQuickWidget, public DeviceOwner
{
    Q_OBJECT
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    Hid_Thread *hid = nullptr;
    QList<QSettings *> profiles;
    uchar curProfile = 0;
    uchar kbLayoutType = 1;
    QSettings *apConfig = nullptr;

    // DeviceOwner
    QSettings *currentProfileSettings() override;
    void lightingChanged() override { zzzMorvel(); }

    void forwardKeyboardEvent(bool isDown, int usbCode);
    void forwardMouseEvent(bool isDown, uint code, uint x, uint y);

public slots:
    void syncFW();
    void initUI();
    void zzzMorvel();
    void runUI();

private:
    void queueRootCall(const char *function);
};
