#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One entry of the compiled-in device catalogue (":/DevInfo.ini").
struct DevInfoEntry
{
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0;   // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0;  // event interface
    quint16 usage2 = 0;
    QString productName;
    quint32 reportLength = 0;
};

// A catalogue entry as found on the bus. Empty paths mean the keyboard is absent.
struct HidDevice
{
    qint32 id = 0;
    QString name;
    QString path;   // command interface
    QString path2;  // event interface
    qint32 reportLength = 0;
};

// Reads the catalogue at `path` (INI). `productNames` supplies the display names by index.
QList<DevInfoEntry> readDeviceCatalogue(const QString &path, const QStringList &productNames);
