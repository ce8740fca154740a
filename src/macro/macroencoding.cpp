#include "macroencoding.h"

namespace {

constexpr uchar kOpen[] = {0x00, 0x01};
constexpr uchar kClose[] = {0x00, 0x00};
constexpr uchar kPress = 0x01;
constexpr uchar kRelease = 0x81;
constexpr uchar kPause = 0x7F;
// The pause count is 16 bits of 10 ms units.
constexpr qlonglong kMaxPauseUnits = 0xFFFF;

} // namespace

QList<uchar> macroIncode(const QStringList &macros, const QMap<QString, uchar> &usbCodeMap)
{
    QList<uchar> out(std::begin(kOpen), std::end(kOpen));
    for (const QString &step : macros) {
        const QString command = step.right(kStepCommandLength);
        const QString value = step.chopped(qMin<qsizetype>(step.size(), kStepCommandLength));
        if (command == kStepDown || command == kStepUp) {
            const uchar code = usbCodeMap.value(value, 0);
            if (code != 0)
                out << (command == kStepDown ? kPress : kRelease) << code;
        } else if (command == kStepDelay) {
            // Negative pauses are meaningless and skipped; pauses beyond the
            // 16-bit count are held at the longest pause instead of wrapping.
            const qlonglong ms = value.toLongLong();
            if (ms <= 0)
                continue;
            const qlonglong units = qMin(ms / 10, kMaxPauseUnits);
            out << kPause << uchar(0x00) << uchar(units >> 8) << uchar(units & 0xFF);
        }
    }
    out << kClose[0] << kClose[1];
    return out;
}

bool fillMacroSlot(const QList<uchar> &stream, MacroSlotBuffer &buffer)
{
    if (stream.size() > kMacroSlotBytes)
        return false;
    buffer.fill(0);
    std::copy(stream.cbegin(), stream.cend(), buffer.begin());
    return true;
}

MacroWarningText macroTooLongWarning(const QStringList &msgStrings)
{
    MacroWarningText warning{msgStrings.value(0), msgStrings.value(1)};
    if (warning.title.isEmpty())
        warning.title = QStringLiteral("Macro too long");
    if (warning.text.isEmpty())
        warning.text = QStringLiteral("This macro does not fit into the keyboard's macro memory "
                                      "and was not sent. Remove some steps.");
    return warning;
}
