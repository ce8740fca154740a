// The device bridge: converts the UI's value lists to keyboard commands and
// keeps a copy of most settings in the current profile.
#include "myqquickview.h"
#include "viewfiles.h"

#include "hid_thread.h"

#include <QSettings>

namespace {

constexpr int kLedValues = 7;
constexpr int kColorValues = 21;
constexpr int kColorBlock = 64;
constexpr int kPlane = 128;
constexpr int kPictureValues = 4 * kPlane;
constexpr int kMatrixValues = 2 * kPlane;

const QString kLedTypeKey = QStringLiteral("color/ledType");
const QString kColorKey = QStringLiteral("color/color");

uchar byteAt(const QVariantList &list, int i) { return uchar(list.at(i).toInt() & 0xFF); }

// The keyboard holds a colour component in 6 bits.
uchar toDevice(const QVariantList &list, int i) { return uchar((list.at(i).toInt() / 4) & 0xFF); }

QVariantList toIntList(const uchar *bytes, int count, int factor = 1)
{
    QVariantList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(int(bytes[i]) * factor);
    return out;
}

QString pictureKey(uchar index) { return QStringLiteral("userPicture/") + QString::number(index); }

} // namespace

QString myQQuickView::firmwareVersionText(ushort version)
{
    if (version == 0)
        return QStringLiteral("unknown");
    return QStringLiteral("%1.%2")
        .arg(version >> 8, 2, 16, QLatin1Char('0'))
        .arg(version & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void myQQuickView::syncFW()
{
    if (!hid)
        return;
    ushort version = 0;
    uchar usUk = 0;
    hid->hid_80H_GetFWVersion(version, usUk);
    kbLayoutType = 1;
    uchar profile = 0;
    hid->hid_A1H_GetCurrentProfile(profile);
    curProfile = profile;
    rebuildUsbCodeMap();
}

void myQQuickView::syncLed()
{
    if (!hid)
        return;
    uchar led[kLedValues] = {};
    if (hid->hid_88H_GetLEDType(led[0], led[1], led[2], led[3], led[4], led[5], led[6])) {
        if (QSettings *profile = currentProfileSettings())
            profile->setValue(kLedTypeKey, toIntList(led, kLedValues));
    }
    uchar block[kColorBlock] = {};
    if (hid->hid_B0H_GetSevenColor(block)) {
        if (QSettings *profile = currentProfileSettings())
            profile->setValue(kColorKey, toIntList(block, kColorValues, 4));
    }
}

void myQQuickView::ui_01H_SetReportRate(uchar rate)
{
    if (!hid || hid->currentDevice() != 1)
        return;
    if (QSettings *profile = currentProfileSettings())
        profile->setValue(QStringLiteral("sensor/reportRate_K4"), rate);
}

void myQQuickView::ui_02H_SetKeyboardMode(uchar mode)
{
    if (!hid)
        return;
    uchar byte1 = 0, byte2 = 0, byte3 = 0;
    hid->hid_82H_GetKeyboardoption(byte1, byte2, byte3);
    hid->hid_02H_SetKeyboardoption(mode, byte2, byte3);
}

void myQQuickView::ui_04H_SetButtonSensitivity(uchar sens1)
{
    if (hid)
        hid->hid_04H_SetButtonSensitivity(sens1);
}

void myQQuickView::ui_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                                     uchar color, uchar bl0, uchar bl1)
{
    const uchar led[kLedValues] = {type, brightness, speed, direction, color, bl0, bl1};
    if (QSettings *profile = currentProfileSettings())
        profile->setValue(kLedTypeKey, toIntList(led, kLedValues));
    if (hid)
        hid->hid_08H_SetLEDType(type, brightness, speed, direction, color, bl0, bl1);
}

// A short list is ignored as a whole: padding it would overwrite the stored
// assignments and the keyboard's keys with zeros.
void myQQuickView::ui_0C0DH_SetKeyMatrix(QVariantList src256)
{
    if (src256.size() < kMatrixValues)
        return;
    if (QSettings *profile = currentProfileSettings()) {
        const QString group = QStringLiteral("keydefine") + QString::number(kbLayoutType) + QLatin1Char('/');
        for (int k = 0; k < kPlane; ++k)
            profile->setValue(group + QString::number(k), QVariantList{src256.at(2 * k), src256.at(2 * k + 1)});
    }
    uchar block[kMatrixValues] = {};
    for (int i = 0; i < kMatrixValues; ++i)
        block[i] = byteAt(src256, i);
    // Matrix positions 61 and 76 are second contacts of the keys at 60 and 75
    // and must carry the same code.
    block[122] = block[120];
    block[123] = block[121];
    block[152] = block[150];
    block[153] = block[151];
    if (!hid)
        return;
    hid->hid_0CH_SetKeyMatrix_1(block);
    hid->hid_0DH_SetKeyMatrix_2(block + kPlane);
}

void myQQuickView::ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src384)
{
    if (QSettings *profile = currentProfileSettings())
        profile->setValue(pictureKey(index), src384);
    // 255: keep the picture in the profile only; sending takes time.
    if (option == 255 || src384.size() < kPictureValues || !hid)
        return;
    uchar planes[4][kPlane] = {};
    for (int k = 0; k < kPlane; ++k) {
        planes[0][k] = byteAt(src384, 4 * k);
        for (int c = 1; c < 4; ++c)
            planes[c][k] = toDevice(src384, 4 * k + c);
    }
    for (uchar c = 0; c < 4; ++c)
        hid->hid_12H_SetUserPicture(index, c, planes[c]);
}

void myQQuickView::ui_13H_SetRecoveryData()
{
    if (hid)
        hid->hid_13H_SetRecoveryData();
}

void myQQuickView::ui_21H_SetCurrentProfile(int profile)
{
    curProfile = uchar(profile & 0xFF);
    if (hid)
        hid->hid_21H_SetCurrentProfile(curProfile);
}

// A list with fewer than 21 values is ignored rather than sent half zero.
void myQQuickView::ui_30H_SetColor(QVariantList src21)
{
    if (src21.size() < kColorValues)
        return;
    uchar block[kColorBlock] = {};
    for (int i = 0; i < kColorValues; ++i)
        block[i] = toDevice(src21, i);
    if (QSettings *profile = currentProfileSettings())
        profile->setValue(kColorKey, src21);
    if (hid)
        hid->hid_30H_SetSevenColor(block);
}

QString myQQuickView::ui_80H_GetFWVersion()
{
    ushort version = 0;
    uchar usUk = 0;
    if (hid)
        hid->hid_80H_GetFWVersion(version, usUk);
    return firmwareVersionText(version);
}

QVariant myQQuickView::ui_80H_GetHWMode() { return int(kbLayoutType); }

QVariant myQQuickView::ui_81H_GetReportRate() { return 0; }

QVariant myQQuickView::ui_82H_GetKeyboardMode()
{
    uchar byte1 = 0, byte2 = 0, byte3 = 0;
    if (hid)
        hid->hid_82H_GetKeyboardoption(byte1, byte2, byte3);
    return int(byte1);
}

QVariant myQQuickView::ui_84H_GetButtonSensitivity()
{
    uchar sens1 = 0;
    if (hid)
        hid->hid_84H_GetButtonSensitivity(sens1);
    return int(sens1);
}

QVariantList myQQuickView::ui_88H_GetLEDType()
{
    QSettings *profile = currentProfileSettings();
    return profile ? viewfiles::toList(profile->value(kLedTypeKey)) : QVariantList();
}

QVariantList myQQuickView::ui_8C8DH_GetKeyMatrix()
{
    uchar block[kMatrixValues] = {};
    if (hid) {
        hid->hid_8CH_GetKeyMatrix_1(block);
        hid->hid_8DH_GetKeyMatrix_2(block + kPlane);
    }
    return toIntList(block, kMatrixValues);
}

QVariantList myQQuickView::ui_92H_GetUserPicture(uchar index)
{
    if (QSettings *profile = currentProfileSettings()) {
        const QVariantList stored = viewfiles::toList(profile->value(pictureKey(index)));
        if (stored.size() == kPictureValues)
            return stored;
    }
    return QVariantList(kPictureValues, 0);
}

QVariant myQQuickView::ui_A1H_GetCurrentProfile() { return int(curProfile); }

QVariantList myQQuickView::ui_B0H_GetColor()
{
    QSettings *profile = currentProfileSettings();
    return profile ? viewfiles::toList(profile->value(kColorKey)) : QVariantList();
}
