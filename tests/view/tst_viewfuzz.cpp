// Random and truncated data files fed to every reader of the view: no crash,
// no hang, answers of the documented shapes.
#include "viewfixture.h"

#include <QRandomGenerator>

using namespace viewtest;

namespace {

const QByteArray kSeeds[] = {
    "[common]\nkbLayoutType=1\nmaxProfile=3\nmaxMacro=8\n[1]\ntotal_HW=3\ntotal_FW=128\n"
    "1=10, 20, 1, Esc, 0, 41\n2=30, 20, 2, \xc3\x84, 5, 58\n3=1, 2, 3, \",\", 7, 54\n",
    "[common]\nusbStr=A, B, C, \"Num ,\"\nusbCode=4, 5, 6, 54\n",
    "[common]\ntotal=32\n0=1\n1=2\n5=true\n6=file:/x.png\n31=http://example.invalid\n[macro]\n5=3\n",
    "[font]\nfamily=Sans\ntotal=999999999\ncs=x\n[strings]\n1=One\n2=\"Two, three\"\n[msg]\n0=a\n3=b\n",
    "[color]\ncolor=255, 0, 0, 0\nledType=1, 2\n[userPicture]\n0=1, 2, 3\n[keydefine1]\n5=41\n6=1, 2, 3\n",
};

constexpr const char *kFiles[] = {
    "setting/HWDef.bin", "setting/KeyCodeDef.bin", "setting/apConfigD.bin",
    "i18n/lang_031000.ini", "setting/pD.bin",
};

const char kAlphabet[] = "[]=,\"\\/\n\r\t 0123456789-abcXYZ%@;#\xc3\x84\xff";

QByteArray mutate(QByteArray text, QRandomGenerator &rng)
{
    switch (rng.bounded(5)) {
    case 0:   // truncated anywhere
        return text.left(rng.bounded(text.size() + 1));
    case 1: { // random bytes
        QByteArray out(rng.bounded(2048), Qt::Uninitialized);
        for (char &c : out)
            c = char(rng.bounded(256));
        return out;
    }
    case 2: { // numbers made huge or negative
        const char *numbers[] = {"999999999", "-1", "4294967296", "99999999999999999999", "0x10", ""};
        for (int i = 0; i < text.size(); ++i)
            if (text.at(i) == '=' && rng.bounded(2))
                text.insert(i + 1, numbers[rng.bounded(6)]);
        return text;
    }
    default:  // characters of the format sprinkled in
        for (int n = rng.bounded(1, 40); n > 0; --n)
            text[rng.bounded(text.size())] = kAlphabet[rng.bounded(int(sizeof kAlphabet) - 1)];
        return text;
    }
}

} // namespace

class TestViewFuzz : public QObject
{
    Q_OBJECT
private slots:
    void readersSurviveBadFiles()
    {
        const quint32 seed = qEnvironmentVariableIsSet("K3_FUZZ_SEED")
            ? quint32(qEnvironmentVariableIntValue("K3_FUZZ_SEED"))
            : QRandomGenerator::global()->generate();
        const int rounds = qEnvironmentVariableIsSet("K3_FUZZ_ROUNDS")
            ? qEnvironmentVariableIntValue("K3_FUZZ_ROUNDS") : 300;
        qInfo("seed %u (set K3_FUZZ_SEED to repeat), %d rounds", seed, rounds);
        QRandomGenerator rng(seed);

        ModulesDir modules;
        std::unique_ptr<ViewUnderTest> t;
        QElapsedTimer timer;
        timer.start();
        for (int round = 0; round < rounds; ++round) {
            for (int f = 0; f < int(std::size(kFiles)); ++f)
                modules.write(QString::fromLatin1(kFiles[f]), mutate(kSeeds[f], rng));
            modules.write(QStringLiteral("setting/apConfig.bin"), mutate(kSeeds[2], rng));
            modules.write(QStringLiteral("setting/p1.bin"), mutate(kSeeds[4], rng));
            // The constructor reads the hardware definition and opens the files.
            if (!t || round % 25 == 0)
                t = std::make_unique<ViewUnderTest>();
            myQQuickView &v = *t->view;

            const QVariantList def = v.loadHWDef();
            QVERIFY(def.size() >= 2);
            QCOMPARE(def.size(), 2 + 6 * def.at(0).toInt());
            QVERIFY(def.at(1).toInt() >= 0 && def.at(1).toInt() <= 128);
            v.loadUsbStr();
            v.loadUsbCode();
            v.syncFW();
            QVERIFY(v.profiles.size() <= myQQuickView::kMaxProfiles);

            v.resetApconfig();
            QVERIFY(v.loadApConfig().size() <= viewfiles::kMaxCount);
            v.getGlobalData(QStringLiteral("macro/5"));
            v.chkLanguages();
            QVERIFY(v.getGlobalStrings(QStringLiteral("031000")).size() <= viewfiles::kMaxCount + 1);
            QCOMPARE(v.msgStrings.size(), 4);

            v.loadDefaultProfile(QStringLiteral("color/color"));
            v.curProfile = uchar(rng.bounded(12));
            v.resetProfile(v.curProfile);
            v.ui_88H_GetLEDType();
            v.ui_B0H_GetColor();
            QCOMPARE(v.ui_92H_GetUserPicture(uchar(rng.bounded(6))).size(), 512);
            for (int k : {5, 6, 127})
                v.getKeydefine(k);
            v.syncLed();
        }
        // A bound on the whole run catches a reader that loops over a huge count.
        QVERIFY2(timer.elapsed() < 120000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_MAIN(TestViewFuzz)
#include "tst_viewfuzz.moc"
