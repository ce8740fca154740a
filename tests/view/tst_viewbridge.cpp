// The device bridge against the simulated keyboard, byte for byte.
#include "viewfixture.h"

using namespace viewtest;

namespace {

QVariantList filled(int count, int value)
{
    return QVariantList(count, value);
}

QList<int> toInts(const QVariantList &list)
{
    QList<int> out;
    for (const QVariant &v : list)
        out.append(v.toInt());
    return out;
}

const QByteArray kThreeProfiles = "[common]\nkbLayoutType=1\nmaxProfile=3\nmaxMacro=8\n";

} // namespace

class TestViewBridge : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        modules = std::make_unique<ModulesDir>();
        modules->write(QStringLiteral("setting/HWDef.bin"), kThreeProfiles);
        t = std::make_unique<ViewUnderTest>();
    }
    void cleanup()
    {
        t.reset();
        modules.reset();
    }

    void firmwareVersionText_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0x0000 << "unknown";
        QTest::newRow("expected") << 0x0102 << "01.02";
        QTest::newRow("upper-case hex") << 0x1A0B << "1A.0B";
        QTest::newRow("padded") << 0x0005 << "00.05";
        QTest::newRow("max") << 0xFFFF << "FF.FF";
    }
    void firmwareVersionText()
    {
        QFETCH(int, version);
        QFETCH(QString, text);
        k3sim::setFirmware(uint16_t(version), 0);
        QCOMPARE(t->view->ui_80H_GetFWVersion(), text);
    }

    // 255 goes to the keyboard as 63 and stays 255 in the profile until the
    // keyboard's value is read back, which is then 252.
    void colourRoundTrip()
    {
        QVariantList colours = filled(21, 0);
        colours[0] = 255;
        colours[1] = 128;
        colours[20] = 7;
        t->view->ui_30H_SetColor(colours);
        QVERIFY(t->waitIdle());
        const auto kb = k3sim::profile(k3sim::currentProfile());
        QCOMPARE(int(kb.colors[0]), 63);
        QCOMPARE(int(kb.colors[1]), 32);
        QCOMPARE(int(kb.colors[20]), 1);
        QCOMPARE(t->view->ui_B0H_GetColor().value(0).toInt(), 255);

        t->view->syncLed();
        const QList<int> back = toInts(t->view->ui_B0H_GetColor());
        QCOMPARE(back.size(), 21);
        QCOMPARE(back.at(0), 252);
        QCOMPARE(back.at(1), 128);
        QCOMPARE(back.at(20), 4);
    }

    void ledTypeStoredThenSent()
    {
        t->view->ui_08H_SetLEDType(3, 4, 2, 1, 6, 0, 1);
        QVERIFY(t->waitIdle());
        QCOMPARE(toInts(t->view->ui_88H_GetLEDType()), QList<int>({3, 4, 2, 1, 6, 0, 1}));
        const auto kb = k3sim::profile(k3sim::currentProfile());
        QCOMPARE(int(kb.ledType[0]), 3);
        QCOMPARE(int(kb.ledType[6]), 1);
    }

    void userPicture_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("sent");
        QTest::newRow("255 keeps it in the profile only") << 255 << false;
        QTest::newRow("0 sends the four planes") << 0 << true;
        QTest::newRow("any other option sends") << 7 << true;
    }
    void userPicture()
    {
        QFETCH(int, option);
        QFETCH(bool, sent);
        QVariantList picture = filled(512, 0);
        for (int k = 0; k < 128; ++k) {
            picture[4 * k] = k % 3;          // mode byte, unchanged
            picture[4 * k + 1] = 255;        // red
            picture[4 * k + 2] = 4 * (k % 64) + 3;
            picture[4 * k + 3] = 1;
        }
        k3sim::clearLog();
        t->view->ui_12H_SetUserPicture(2, uchar(option), picture);
        QVERIFY(t->waitIdle());
        QCOMPARE(t->view->ui_92H_GetUserPicture(2), picture);

        QList<int> planesSent;
        for (const auto &e : k3sim::log())
            if (e.call == "hid_send_feature_report" && e.bytes.size() > 4 && e.bytes[1] == 0x12)
                planesSent.append(e.bytes[4]);  // 00 12 00 index plane ...
        QCOMPARE(planesSent, sent ? QList<int>({0, 1, 2, 3}) : QList<int>());
        if (!sent)
            return;
        const auto kb = k3sim::profile(k3sim::currentProfile());
        for (int k = 0; k < 128; ++k) {
            QCOMPARE(int(kb.userPicture[2][0][k]), k % 3);
            QCOMPARE(int(kb.userPicture[2][1][k]), 63);
            QCOMPARE(int(kb.userPicture[2][2][k]), k % 64);
            QCOMPARE(int(kb.userPicture[2][3][k]), 0);
        }
    }

    void userPictureFallback_data()
    {
        QTest::addColumn<int>("storedLength");
        QTest::newRow("never stored") << -1;
        QTest::newRow("384 values") << 384;
        QTest::newRow("513 values") << 513;
    }
    void userPictureFallback()
    {
        QFETCH(int, storedLength);
        if (storedLength >= 0)
            t->view->ui_12H_SetUserPicture(1, 255, filled(storedLength, 9));
        QCOMPARE(t->view->ui_92H_GetUserPicture(1), filled(512, 0));
    }

    // Positions 61 and 76 (bytes 122/123 and 152/153) always get the codes of
    // 60 and 75 on the keyboard, while the profile keeps what the UI gave.
    void keyMatrixCopies()
    {
        QVariantList matrix;
        for (int i = 0; i < 256; ++i)
            matrix.append(i);
        t->view->ui_0C0DH_SetKeyMatrix(matrix);
        QVERIFY(t->waitIdle());
        const auto kb = k3sim::profile(k3sim::currentProfile());
        for (int i = 0; i < 256; ++i) {
            int expected = i;
            if (i == 122 || i == 123 || i == 152 || i == 153)
                expected = i - 2;
            QCOMPARE(int(kb.keyMatrix[i]), expected);
        }
        QCOMPARE(toInts(t->view->getKeydefine(61)), QList<int>({122, 123}));
        QCOMPARE(toInts(t->view->getKeydefine(QStringLiteral("5"))), QList<int>({10, 11}));
        QCOMPARE(toInts(t->view->ui_8C8DH_GetKeyMatrix()).at(152), 150);
    }

    void getKeydefineAbsent()
    {
        QVERIFY(t->view->getKeydefine(5).isEmpty());
    }

    // A short list would otherwise send zeros for every missing key.
    void shortListsIgnored()
    {
        k3sim::clearLog();
        t->view->ui_0C0DH_SetKeyMatrix(filled(100, 4));
        t->view->ui_30H_SetColor(filled(20, 4));
        QVERIFY(t->waitIdle());
        QVERIFY(k3sim::log().empty());
        QVERIFY(t->view->getKeydefine(0).isEmpty());
        QVERIFY(t->view->ui_B0H_GetColor().isEmpty());
    }

    void keyboardModeReadModifyWrite()
    {
        // Make the keyboard hold 0, 7, 9, then change byte 1 only.
        t->hid.hid_02H_SetKeyboardoption(0, 7, 9);
        QVERIFY(t->waitIdle());
        t->view->ui_02H_SetKeyboardMode(1);
        QVERIFY(t->waitIdle());
        uint8_t options[3] = {};
        k3sim::keyboardOptions(options);
        QCOMPARE(QList<int>({options[0], options[1], options[2]}), QList<int>({1, 7, 9}));
        QCOMPARE(t->view->ui_82H_GetKeyboardMode().toInt(), 1);
    }

    void buttonSensitivityPassThrough()
    {
        t->view->ui_04H_SetButtonSensitivity(5);
        QVERIFY(t->waitIdle());
        QCOMPARE(int(k3sim::buttonSensitivity()), 5);
        QCOMPARE(t->view->ui_84H_GetButtonSensitivity().toInt(), 5);
    }

    void reportRateNeverReported()
    {
        t->view->ui_01H_SetReportRate(3);
        QCOMPARE(t->view->ui_81H_GetReportRate().toInt(), 0);
        QVERIFY(!t->view->profiles.at(0)->contains(QStringLiteral("sensor/reportRate_K4")));
    }

    void currentProfileAndSync()
    {
        t->view->ui_21H_SetCurrentProfile(2);
        QVERIFY(t->waitIdle());
        k3sim::clearLog();
        QCOMPARE(t->view->ui_A1H_GetCurrentProfile().toInt(), 2);
        QVERIFY(k3sim::log().empty());
        QCOMPARE(int(k3sim::currentProfile()), 2);

        t->view->curProfile = 0;
        t->view->syncFW();
        QCOMPARE(int(t->view->curProfile), 2);
        QCOMPARE(t->view->ui_80H_GetHWMode().toInt(), 1);
    }

    // A keyboard profile the profile list does not have: nothing is stored,
    // getters give their empty answers, nothing indexes past the list.
    void currentProfileOutOfRange()
    {
        t->view->ui_21H_SetCurrentProfile(7);
        QVERIFY(t->waitIdle());
        QCOMPARE(t->view->currentProfileSettings(), nullptr);
        t->view->ui_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7);
        t->view->ui_30H_SetColor(filled(21, 8));
        t->view->ui_12H_SetUserPicture(0, 255, filled(512, 1));
        t->view->ui_0C0DH_SetKeyMatrix(filled(256, 1));
        t->view->syncLed();
        QVERIFY(t->waitIdle());
        QVERIFY(t->view->ui_88H_GetLEDType().isEmpty());
        QVERIFY(t->view->ui_B0H_GetColor().isEmpty());
        QCOMPARE(t->view->ui_92H_GetUserPicture(0), filled(512, 0));
        QVERIFY(t->view->getKeydefine(0).isEmpty());
        for (QSettings *p : t->view->profiles)
            QVERIFY(p->allKeys().isEmpty());
    }

    void syncLedKeepsValuesWhenQueryFails()
    {
        t->view->ui_08H_SetLEDType(3, 4, 2, 1, 6, 0, 1);
        QVERIFY(t->waitIdle());
        k3sim::unplug();
        t->view->syncLed();
        QCOMPARE(toInts(t->view->ui_88H_GetLEDType()), QList<int>({3, 4, 2, 1, 6, 0, 1}));
    }

private:
    std::unique_ptr<ModulesDir> modules;
    std::unique_ptr<ViewUnderTest> t;
};

QTEST_MAIN(TestViewBridge)
#include "tst_viewbridge.moc"
