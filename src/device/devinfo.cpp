#include "devinfo.h"

#include <QSettings>

namespace {

quint16 readHex16(const QSettings &ini, const QString &key)
{
    bool ok = false;
    const uint value = ini.value(key, 0).toString().toUInt(&ok, 16);
    return ok ? quint16(value & 0xFFFF) : 0;
}

} // namespace

QList<DevInfoEntry> readDeviceCatalogue(const QString &path, const QStringList &productNames)
{
    const QSettings ini(path, QSettings::IniFormat);
    // A damaged catalogue must not make us loop for ever; the file ships with one entry.
    const int total = qBound(0, ini.value(QStringLiteral("common/total"), 0).toInt(), 256);
    QList<DevInfoEntry> entries;
    for (int i = 0; i < total; ++i) {
        const QString prefix = QString::number(i) + QLatin1Char('/');
        DevInfoEntry e;
        e.vid = readHex16(ini, prefix + QStringLiteral("vid"));
        e.pid = readHex16(ini, prefix + QStringLiteral("pid"));
        e.usagePage = readHex16(ini, prefix + QStringLiteral("usagePage"));
        e.usage = readHex16(ini, prefix + QStringLiteral("usage"));
        e.usagePage2 = readHex16(ini, prefix + QStringLiteral("usagePage2"));
        e.usage2 = readHex16(ini, prefix + QStringLiteral("usage2"));
        e.productName = productNames.value(i);
        e.reportLength = ini.value(prefix + QStringLiteral("reportLength"), 0).toUInt();
        entries.append(e);
    }
    return entries;
}
