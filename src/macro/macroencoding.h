#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

// Step texts end in a ten-character command field, right-aligned.
inline const QString kStepDown = QStringLiteral("    [Down]");
inline const QString kStepUp = QStringLiteral("      [Up]");
inline const QString kStepDelay = QStringLiteral("   [Delay]");
constexpr int kStepCommandLength = 10;

// Size of one macro slot of the keyboard.
constexpr int kMacroSlotBytes = 128;
using MacroSlotBuffer = std::array<uchar, kMacroSlotBytes>;

// Turns step texts into the keyboard's macro byte stream:
// 00 01, then 01 u (press), 81 u (release), 7F 00 h l (pause in 10 ms units),
// and 00 00 at the end. Unknown names, pauses of 0 and unknown commands vanish.
QList<uchar> macroIncode(const QStringList &macros, const QMap<QString, uchar> &usbCodeMap);

// Copies a stream to the start of a zero-filled slot buffer. A stream that does
// not fit is refused (false, buffer untouched): a cut stream would lose its
// closing 00 00 and could leave keys held down on the keyboard.
bool fillMacroSlot(const QList<uchar> &stream, MacroSlotBuffer &buffer);

// Title and text of the "macro too long" warning: entries 0 and 1 of the
// language's messages, or built-in English while no language provides them.
struct MacroWarningText
{
    QString title;
    QString text;
};
MacroWarningText macroTooLongWarning(const QStringList &msgStrings);
