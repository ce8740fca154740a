// Encoding of macro steps into the keyboard's macro byte stream.
#include "macroencoding.h"

#include <QtTest>

using Bytes = QList<uchar>;

namespace {

const QMap<QString, uchar> kCodes{
    {QStringLiteral("A"), 0x04},
    {QStringLiteral("B"), 0x05},
    {QStringLiteral("Left Ctrl"), 0xE0},
    {QStringLiteral(","), 0x36},
    {QStringLiteral("Dead"), 0x00},
};

QString down(const QString &v) { return v + kStepDown; }
QString up(const QString &v) { return v + kStepUp; }
QString delay(const QString &v) { return v + kStepDelay; }

Bytes framed(const Bytes &body)
{
    return Bytes{0x00, 0x01} + body + Bytes{0x00, 0x00};
}

} // namespace

class TestMacroEncoding : public QObject
{
    Q_OBJECT
private slots:
    void encode_data();
    void encode();
    void slotFit_data();
    void slotFit();
    void warningText_data();
    void warningText();
};

void TestMacroEncoding::encode_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<Bytes>("expected");

    QTest::newRow("empty") << QStringList{} << framed({});
    QTest::newRow("press and release")
        << QStringList{down("A"), up("A")} << framed({0x01, 0x04, 0x81, 0x04});
    QTest::newRow("long name and comma name")
        << QStringList{down("Left Ctrl"), down(","), up(","), up("Left Ctrl")}
        << framed({0x01, 0xE0, 0x01, 0x36, 0x81, 0x36, 0x81, 0xE0});
    QTest::newRow("pause 1000") << QStringList{delay("1000")} << framed({0x7F, 0x00, 0x00, 0x64});
    QTest::newRow("pause 65535") << QStringList{delay("65535")} << framed({0x7F, 0x00, 0x19, 0x99});
    QTest::newRow("pause 10") << QStringList{delay("10")} << framed({0x7F, 0x00, 0x00, 0x01});
    QTest::newRow("pause 5 is zero units") << QStringList{delay("5")} << framed({0x7F, 0x00, 0x00, 0x00});
    QTest::newRow("pause 0 vanishes") << QStringList{delay("0")} << framed({});
    QTest::newRow("pause not a number") << QStringList{delay("abc")} << framed({});
    // Guards against the count wrapping round to a short pause.
    QTest::newRow("pause beyond 16 bits held at maximum")
        << QStringList{delay("700000")} << framed({0x7F, 0x00, 0xFF, 0xFF});
    QTest::newRow("negative pause vanishes") << QStringList{delay("-100")} << framed({});
    QTest::newRow("lower-case command") << QStringList{QStringLiteral("A    [down]")} << framed({});
    QTest::newRow("command without padding") << QStringList{QStringLiteral("A[Down]")} << framed({});
    QTest::newRow("trailing space") << QStringList{down("A") + QLatin1Char(' ')} << framed({});
    QTest::newRow("shorter than ten") << QStringList{QStringLiteral("[Up]"), QString()} << framed({});
    QTest::newRow("unknown command") << QStringList{QStringLiteral("A  [Press]")} << framed({});
    QTest::newRow("unknown key") << QStringList{down("Nope"), up("a")} << framed({});
    QTest::newRow("key with code 0") << QStringList{down("Dead")} << framed({});
    QTest::newRow("skipped steps keep the order of the rest")
        << QStringList{down("A"), QStringLiteral("junk"), delay("20"), down("Nope"), up("A")}
        << framed({0x01, 0x04, 0x7F, 0x00, 0x00, 0x02, 0x81, 0x04});
}

void TestMacroEncoding::encode()
{
    QFETCH(QStringList, steps);
    QFETCH(Bytes, expected);
    QCOMPARE(macroIncode(steps, kCodes), expected);
}

void TestMacroEncoding::slotFit_data()
{
    QTest::addColumn<int>("pairs");   // press/release steps of one key
    QTest::addColumn<int>("pauses");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("fits");

    QTest::newRow("62 steps fill the slot") << 62 << 0 << 128 << true;
    QTest::newRow("63 steps are too long") << 63 << 0 << 130 << false;
    QTest::newRow("31 pauses fill the slot") << 0 << 31 << 128 << true;
    QTest::newRow("60 steps and a pause") << 60 << 1 << 128 << true;
    QTest::newRow("61 steps and a pause") << 61 << 1 << 130 << false;
}

void TestMacroEncoding::slotFit()
{
    QFETCH(int, pairs);
    QFETCH(int, pauses);
    QFETCH(int, length);
    QFETCH(bool, fits);

    QStringList steps;
    for (int i = 0; i < pairs; ++i)
        steps << (i % 2 ? up("B") : down("B"));
    for (int i = 0; i < pauses; ++i)
        steps << delay("100");
    const Bytes stream = macroIncode(steps, kCodes);
    QCOMPARE(stream.size(), length);

    MacroSlotBuffer buffer;
    buffer.fill(0xEE);
    QCOMPARE(fillMacroSlot(stream, buffer), fits);
    if (fits) {
        QCOMPARE(Bytes(buffer.begin(), buffer.begin() + stream.size()), stream);
        QVERIFY(std::all_of(buffer.begin() + stream.size(), buffer.end(), [](uchar b) { return b == 0; }));
    } else {
        // A refused stream leaves the buffer alone.
        QVERIFY(std::all_of(buffer.begin(), buffer.end(), [](uchar b) { return b == 0xEE; }));
    }
}

void TestMacroEncoding::warningText_data()
{
    QTest::addColumn<QStringList>("msgStrings");
    QTest::addColumn<bool>("fallbackTitle");
    QTest::addColumn<bool>("fallbackText");

    QTest::newRow("no language") << QStringList{} << true << true;
    QTest::newRow("language") << QStringList{"T", "X", "c", "d"} << false << false;
    QTest::newRow("empty entries") << QStringList{"", "", "", ""} << true << true;
    QTest::newRow("title only") << QStringList{"T"} << false << true;
}

void TestMacroEncoding::warningText()
{
    QFETCH(QStringList, msgStrings);
    QFETCH(bool, fallbackTitle);
    QFETCH(bool, fallbackText);

    const MacroWarningText w = macroTooLongWarning(msgStrings);
    QVERIFY(!w.title.isEmpty());
    QVERIFY(!w.text.isEmpty());
    QCOMPARE(w.title == msgStrings.value(0), !fallbackTitle);
    QCOMPARE(w.text == msgStrings.value(1), !fallbackText);
}

QTEST_APPLESS_MAIN(TestMacroEncoding)
#include "tst_macroencoding.moc"
