// Hardware definition (key positions per layout) and the key name table.
#include "myqquickview.h"
#include "viewfiles.h"

#include <QSettings>

using viewfiles::IniReader;

namespace {

const char kHwDefPath[] = "./modules/setting/HWDef.bin";
const char kKeyCodePath[] = "./modules/setting/KeyCodeDef.bin";

constexpr int kMaxMacroSlots = 255;
constexpr int kMaxKeys = 512;          // keys drawn per layout
constexpr int kMatrixPositions = 128;  // the keyboard's key matrix
constexpr int kFieldsPerKey = 6;

uint readUnsigned(const IniReader &ini, const QString &key)
{
    bool ok = false;
    const qulonglong v = ini.value(key).toString().trimmed().toULongLong(&ok);
    if (!ok)
        return 0;
    return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : uint(v);
}

} // namespace

void myQQuickView::readHardwareCommon()
{
    const IniReader ini(QString::fromLatin1(kHwDefPath));
    kbLayoutType = uchar(readUnsigned(ini, QStringLiteral("common/kbLayoutType")) & 0xFF);
    const uint macros = readUnsigned(ini, QStringLiteral("common/maxMacro"));
    maxMacro = uchar(macros > 254 ? kMaxMacroSlots : macros);
    const uint count = readUnsigned(ini, QStringLiteral("common/maxProfile"));
    maxProfile = uchar(count > 9 ? kMaxProfiles : count);
}

// Keys whose entry is missing or holds fewer than six values are left out, and
// the count at position 0 says how many keys follow, so the list is always
// 2 + 6 * count long.
QVariantList myQQuickView::loadHWDef()
{
    const IniReader ini(QString::fromLatin1(kHwDefPath));
    const QString layout = QString::number(kbLayoutType);
    const int totalHW = ini.count(layout + QStringLiteral("/total_HW"), kMaxKeys);
    const int totalFW = ini.count(layout + QStringLiteral("/total_FW"), kMatrixPositions);

    QVariantList keys;
    int present = 0;
    for (int n = 1; n <= totalHW; ++n) {
        const QVariantList entry = ini.list(layout + QLatin1Char('/') + QString::number(n));
        if (entry.size() < kFieldsPerKey)
            continue;
        keys << entry.at(0).toInt() << entry.at(1).toInt() << entry.at(2).toInt()
             << viewfiles::toText(entry.at(3)) << entry.at(4).toInt() << entry.at(5).toUInt();
        ++present;
    }
    QVariantList result{present, totalFW};
    result.append(keys);
    return result;
}

QVariantList myQQuickView::loadUsbStr()
{
    return IniReader(QString::fromLatin1(kKeyCodePath)).list(QStringLiteral("common/usbStr"));
}

QVariantList myQQuickView::loadUsbCode()
{
    return IniReader(QString::fromLatin1(kKeyCodePath)).list(QStringLiteral("common/usbCode"));
}

uchar myQQuickView::getMaxProfile() { return maxProfile; }

QVariantList myQQuickView::getKeydefine(QVariant matrixId)
{
    QSettings *profile = currentProfileSettings();
    if (!profile)
        return {};
    const QString key = QStringLiteral("keydefine") + QString::number(kbLayoutType)
        + QLatin1Char('/') + matrixId.toString();
    return viewfiles::toList(profile->value(key));
}

void myQQuickView::rebuildUsbCodeMap()
{
    usbCodeMap.clear();
    const QVariantList names = loadUsbStr();
    const QVariantList codes = loadUsbCode();
    const int n = qMin(names.size(), codes.size());
    for (int i = 0; i < n; ++i)
        usbCodeMap.insert(names.at(i).toString(), uchar(codes.at(i).toUInt() & 0xFF));
}
