#pragma once

#include <QObject>
#include <QUrl>

class QWidget;
class Hid_Thread;
class myQQuickView;

// Published to the UI as ui_Ctl: moves, closes and input-locks the main window.
class Ui_Controler : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Prepares the frameless translucent window and creates the view in it.
    // `hid` is published to the documents as "hid".
    void setupWindow(QWidget *widget, Hid_Thread *hid = nullptr);

    // The root document; tests load a recording document in its place.
    static QUrl rootDocument;

    QWidget *widget = nullptr;      // not owned
    myQQuickView *view = nullptr;   // child of widget

public slots:
    void onMinimize();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();
};
