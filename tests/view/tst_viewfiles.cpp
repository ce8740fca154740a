// Profile files, application configuration, languages, hardware definition,
// key name table, sounds and the queued root calls.
#include "viewfixture.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QProcess>
#include <QQmlContext>
#include <QQuickItem>

using namespace viewtest;

namespace {

const QByteArray kHwDef =
    "[common]\nkbLayoutType=1\nmaxProfile=3\nmaxMacro=8\n"
    "[1]\ntotal_HW=2\ntotal_FW=128\n"
    "1=10, 20, 1, Esc, 0, 41\n"
    "2=30, 20, 2, \xc3\x84\xe2\x82\xac\xe4\xb8\xad, 5, 58\n";

const QByteArray kDefaultProfile =
    "[color]\ncolor=255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0, 255, 0, 255, 0, 255, 255, 255, 255, 255\n"
    "ledType=1, 4, 2, 0, 0, 0, 0\n";

const QByteArray kExported = "[color]\nledType=9, 9, 9, 9, 9, 9, 9\n[vendor]\nextra=kept\n";

} // namespace

class TestViewFiles : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        modules = std::make_unique<ModulesDir>();
        modules->write(QStringLiteral("setting/HWDef.bin"), kHwDef);
        modules->write(QStringLiteral("setting/pD.bin"), kDefaultProfile);
    }
    void cleanup()
    {
        t.reset();
        modules.reset();
    }

    // ---------------------------------------------------------- profiles

    void exportCopiesTheIndexedFile_data()
    {
        QTest::addColumn<int>("profile");
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("profile 0 -> p1, new target") << 0 << false;
        QTest::newRow("profile 2 -> p3, replaces target") << 2 << true;
    }
    void exportCopiesTheIndexedFile()
    {
        QFETCH(int, profile);
        QFETCH(bool, targetExists);
        const QByteArray content = "[color]\nledType=" + QByteArray::number(profile) + "\n";
        modules->write(QStringLiteral("setting/p%1.bin").arg(profile + 1), content);
        if (targetExists)
            modules->write(QStringLiteral("out.pf"), "old");
        start();
        FakeDialogs dialogs;
        FakeDialogs::nextPath = modules->path(QStringLiteral("out.pf"));
        t->view->saveProfile(profile);
        QCOMPARE(FakeDialogs::lastCaption, QStringLiteral("Save File"));
        QCOMPARE(FakeDialogs::lastFilter, QStringLiteral("Profile(*.pf)"));
        QCOMPARE(modules->read(QStringLiteral("out.pf")), content);
    }

    // The export copies the file on disk, so stores still pending reach it first.
    void exportIncludesPendingStores()
    {
        start();
        t->view->ui_30H_SetColor(QVariantList(21, 40));
        FakeDialogs dialogs;
        FakeDialogs::nextPath = modules->path(QStringLiteral("out.pf"));
        t->view->saveProfile(0);
        QVERIFY(modules->read(QStringLiteral("out.pf")).contains("40, 40"));
    }

    void exportCancelledOrMissingSourceKeepsTarget_data()
    {
        QTest::addColumn<bool>("cancel");
        QTest::newRow("cancelled") << true;
        QTest::newRow("profile file absent") << false;
    }
    void exportCancelledOrMissingSourceKeepsTarget()
    {
        QFETCH(bool, cancel);
        modules->write(QStringLiteral("out.pf"), "old");
        start();
        FakeDialogs dialogs;
        FakeDialogs::nextPath = cancel ? QString() : modules->path(QStringLiteral("out.pf"));
        t->view->saveProfile(1);
        QCOMPARE(modules->read(QStringLiteral("out.pf")), QByteArray("old"));
    }

    // Import and reset put a new settings object at the same position over the
    // same file; keys unknown to the program survive.
    void importAndReset_data()
    {
        QTest::addColumn<bool>("reset");
        QTest::addColumn<QByteArray>("expected");
        QTest::addColumn<QString>("firstLed");
        QTest::newRow("import") << false << kExported << "9";
        QTest::newRow("reset") << true << kDefaultProfile << "1";
    }
    void importAndReset()
    {
        QFETCH(bool, reset);
        QFETCH(QByteArray, expected);
        QFETCH(QString, firstLed);
        modules->write(QStringLiteral("setting/p2.bin"), "[color]\nledType=5, 5, 5, 5, 5, 5, 5\n");
        modules->write(QStringLiteral("in.pf"), kExported);
        start();
        t->view->profiles.at(1)->setObjectName(QStringLiteral("old"));
        FakeDialogs dialogs;
        FakeDialogs::nextPath = modules->path(QStringLiteral("in.pf"));
        if (reset)
            t->view->resetProfile(1);
        else
            t->view->loadProfile(1);
        QCOMPARE(t->view->profiles.size(), 3);
        QCOMPARE(t->view->profiles.at(1)->objectName(), QString());
        QCOMPARE(QFileInfo(t->view->profiles.at(1)->fileName()).fileName(), QStringLiteral("p2.bin"));
        QCOMPARE(modules->read(QStringLiteral("setting/p2.bin")), expected);
        t->view->curProfile = 1;
        QCOMPARE(t->view->ui_88H_GetLEDType().value(0).toString(), firstLed);
        if (!reset)
            QCOMPARE(t->view->profiles.at(1)->value(QStringLiteral("vendor/extra")).toString(), QStringLiteral("kept"));
    }

    // Stores made through the replaced object must not reach the new file,
    // not even when the view goes and its settings objects are flushed.
    void importDropsPendingStoresOfTheOldObject()
    {
        modules->write(QStringLiteral("in.pf"), kExported);
        start();
        t->view->ui_30H_SetColor(QVariantList(21, 40));    // pending in profile 0
        FakeDialogs dialogs;
        FakeDialogs::nextPath = modules->path(QStringLiteral("in.pf"));
        t->view->loadProfile(0);
        t.reset();
        QCOMPARE(modules->read(QStringLiteral("setting/p1.bin")), kExported);
    }

    // A pending store written just before the replacement leaves a file of the
    // same size within the same clock tick; the new object must read the new content.
    void sameSizeReplacementsAreSeen()
    {
        modules->write(QStringLiteral("setting/pD.bin"), "[color]\nledType=1\n");
        start();
        t->view->curProfile = 0;
        for (int i = 0; i < 60; ++i) {
            t->view->profiles.at(0)->setValue(QStringLiteral("color/ledType"), QStringLiteral("x"));
            t->view->resetProfile(0);
            QCOMPARE(t->view->ui_88H_GetLEDType().value(0).toString(), QStringLiteral("1"));
        }
    }

    void failedReplacementKeepsOldFile_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("reset");
        QTest::newRow("import of a missing file") << "nothere.pf" << false;
        QTest::newRow("import of a folder") << "setting" << false;
        QTest::newRow("reset without default profile") << "" << true;
        QTest::newRow("cancelled import") << "" << false;
    }
    void failedReplacementKeepsOldFile()
    {
        QFETCH(QString, source);
        QFETCH(bool, reset);
        const QByteArray old = "[color]\nledType=5, 5, 5, 5, 5, 5, 5\n";
        modules->write(QStringLiteral("setting/p1.bin"), old);
        if (reset)
            QFile::remove(modules->path(QStringLiteral("setting/pD.bin")));
        start();
        t->view->profiles.at(0)->setObjectName(QStringLiteral("old"));
        FakeDialogs dialogs;
        FakeDialogs::nextPath = source.isEmpty() ? QString() : modules->path(source);
        if (reset)
            t->view->resetProfile(0);
        else
            t->view->loadProfile(0);
        QCOMPARE(t->view->profiles.at(0)->objectName(), QStringLiteral("old"));
        QCOMPARE(modules->read(QStringLiteral("setting/p1.bin")), old);
        QCOMPARE(t->view->ui_88H_GetLEDType().size(), 7);
    }

    void profileIndexOutOfRange_data()
    {
        QTest::addColumn<int>("profile");
        QTest::newRow("negative") << -1;
        QTest::newRow("past the list") << 3;
        QTest::newRow("far past") << 255;
    }
    void profileIndexOutOfRange()
    {
        QFETCH(int, profile);
        modules->write(QStringLiteral("in.pf"), kExported);
        start();
        FakeDialogs dialogs;
        FakeDialogs::nextPath = modules->path(QStringLiteral("in.pf"));
        t->view->loadProfile(profile);
        t->view->resetProfile(profile);
        t->view->saveProfile(profile);
        QCOMPARE(t->view->profiles.size(), 3);
        QCOMPARE(FakeDialogs::lastCaption, QString());
    }

    void loadDefaultProfile()
    {
        start();
        const QVariant colours = t->view->loadDefaultProfile(QStringLiteral("color/color"));
        QCOMPARE(colours.typeId(), int(QMetaType::QStringList));
        QCOMPARE(colours.toStringList().size(), 21);
        QCOMPARE(colours.toStringList().at(0), QStringLiteral("255"));
        QVERIFY(!t->view->loadDefaultProfile(QStringLiteral("color/none")).isValid());
        QVERIFY(!t->view->loadDefaultProfile(QString()).isValid());
    }

    // ---------------------------------------------------------- configuration

    void loadApConfigFillsMissingWithZero()
    {
        modules->write(QStringLiteral("setting/apConfig.bin"), "[common]\ntotal=2\n0=1\n");
        start();
        const QVariantList list = t->view->loadApConfig();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0).toString(), QStringLiteral("1"));
        QCOMPARE(list.at(1).toInt(), 0);
    }

    void saveLongerThenShorter()
    {
        start();
        QVariantList values;
        for (int i = 0; i < 32; ++i)
            values.append(i * 2);
        t->view->saveApConfig(values);
        t->view->saveApConfig({7, true, QStringLiteral("file:/x.png")});
        const QVariantList list = t->view->loadApConfig();
        QCOMPARE(list.size(), 3);
        QCOMPARE(list.at(0).toInt(), 7);
        t->view->apConfig->sync();
        const QByteArray file = modules->read(QStringLiteral("setting/apConfig.bin"));
        QVERIFY(file.contains("total=3"));
        QVERIFY(file.contains("31=62"));
    }

    void loadApConfigHugeOrBadTotal_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("size");
        QTest::newRow("absent file") << QByteArray() << 0;
        QTest::newRow("negative") << QByteArray("[common]\ntotal=-5\n") << 0;
        QTest::newRow("not a number") << QByteArray("[common]\ntotal=abc\n") << 0;
        QTest::newRow("huge") << QByteArray("[common]\ntotal=999999999\n") << viewfiles::kMaxCount;
    }
    void loadApConfigHugeOrBadTotal()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, size);
        if (!content.isEmpty())
            modules->write(QStringLiteral("setting/apConfig.bin"), content);
        start();
        QCOMPARE(t->view->loadApConfig().size(), size);
    }

    void resetApconfig_data()
    {
        QTest::addColumn<bool>("haveDefault");
        QTest::newRow("default present") << true;
        QTest::newRow("default missing keeps the old file") << false;
    }
    void resetApconfig()
    {
        QFETCH(bool, haveDefault);
        modules->write(QStringLiteral("setting/apConfig.bin"), "[common]\ntotal=1\n0=old\n");
        if (haveDefault)
            modules->write(QStringLiteral("setting/apConfigD.bin"), "[common]\ntotal=1\n0=default\n");
        start();
        t->view->saveApConfig({QStringLiteral("pending")});
        t->view->resetApconfig();
        const QString expected = haveDefault ? "default" : "pending";
        QCOMPARE(t->view->loadApConfig().value(0).toString(), expected);
        t.reset();
        QVERIFY(modules->read(QStringLiteral("setting/apConfig.bin")).contains(expected.toLatin1()));
    }

    void globalData()
    {
        start();
        QVERIFY(!t->view->getGlobalData(QStringLiteral("macro/5")).isValid());
        t->view->setGlobalInt(QStringLiteral("macro/5"), 3);
        QCOMPARE(t->view->getGlobalData(QStringLiteral("macro/5")).toInt(), 3);
        t->view->setGlobalInt(QString(), 3);
        QVERIFY(!t->view->getGlobalData(QString()).isValid());
    }

    void skinShow_data()
    {
        QTest::addColumn<QStringList>("folders");
        QTest::addColumn<bool>("shown");
        QTest::newRow("one skin") << QStringList{"skin1"} << false;
        QTest::newRow("two skins") << QStringList{"skin1", "skin2"} << true;
        QTest::newRow("no img folder") << QStringList{"-"} << false;
    }
    void skinShow()
    {
        QFETCH(QStringList, folders);
        QFETCH(bool, shown);
        for (const QString &f : folders) {
            if (f == "-")
                QDir(modules->path(QStringLiteral("img"))).removeRecursively();
            else
                QDir().mkpath(modules->path(QStringLiteral("img/") + f));
        }
        modules->write(QStringLiteral("img/file.png"), "x");   // files do not count
        start();
        QCOMPARE(t->view->getIsSkinShow(), shown);
    }

    // ---------------------------------------------------------- languages

    void chkLanguages_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("traditional chinese before english")
            << QStringList{"lang_031000.ini", "lang_025208.ini"}
            << QStringList{"CHINESE (Trad)", "ENGLISH"} << QStringList{"025208", "031000"};
        QTest::newRow("simplified and a country")
            << QStringList{"lang_025044.ini", "lang_031225.ini", "lang_059000.ini"}
            << QStringList{"CHINESE (Simp)", "ENGLISH (UNITED STATES)", "JAPANESE"}
            << QStringList{"025044", "031225", "059000"};
        QTest::newRow("unknown numbers")
            << QStringList{"lang_900000.ini", "lang_066999.ini"}
            << QStringList{"KOREAN (UNKNOWN)", "UNKNOWN"} << QStringList{"066999", "900000"};
        QTest::newRow("malformed names skipped")
            << QStringList{"lang_31.ini", "lang_0310001.ini", "lang_abcdef.ini", "LANG_042000.INI", "lang_111000.ini"}
            << QStringList{"SPANISH"} << QStringList{"111000"};
    }
    void chkLanguages()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, names);
        QFETCH(QStringList, codes);
        for (const QString &f : files)
            modules->write(QStringLiteral("i18n/") + f, "[font]\nfamily=x\n");
        start();
        const QVariantMap map = t->view->chkLanguages();
        QCOMPARE(map.keys(), names);
        QStringList values;
        for (const QVariant &v : map.values())
            values.append(v.toString());
        QCOMPARE(values, codes);
    }

    void getGlobalStrings_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("result");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("three strings")
            << "031000"
            << QByteArray("[font]\nfamily=Sans\ntotal=3\n[strings]\n1=One\n3=\"Three, with comma\"\n"
                          "[msg]\n0=Too long\n1=Macro\n2=Picture\n3=\"Cannot open \"\n")
            << QStringList{"Sans", "One", "", "Three, with comma"}
            << QStringList{"Too long", "Macro", "Picture", "Cannot open "};
        QTest::newRow("unquoted comma joined")
            << "031000" << QByteArray("[font]\ntotal=1\n[strings]\n1=a, b\n")
            << QStringList{"", "a, b"} << QStringList{"", "", "", ""};
        QTest::newRow("missing file") << "025044" << QByteArray() << QStringList{""}
                                      << QStringList{"", "", "", ""};
        QTest::newRow("path in the code") << "../setting/HWDef" << QByteArray("[font]\ntotal=2\n")
                                          << QStringList{""} << QStringList{"", "", "", ""};
    }
    void getGlobalStrings()
    {
        QFETCH(QString, code);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, result);
        QFETCH(QStringList, messages);
        if (!content.isEmpty())
            modules->write(QStringLiteral("i18n/lang_031000.ini"), content);
        start();
        QCOMPARE(t->view->getGlobalStrings(code), result);
        QCOMPARE(t->view->msgStrings, messages);
    }

    void getGlobalStringsHugeTotal()
    {
        modules->write(QStringLiteral("i18n/lang_031000.ini"), "[font]\ntotal=999999999\n");
        start();
        QCOMPARE(t->view->getGlobalStrings(QStringLiteral("031000")).size(), viewfiles::kMaxCount + 1);
    }

    void customFilePath_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<bool>("languageLoaded");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("warnings");
        QTest::newRow("readable") << "pic.png" << true << "pic.png" << QStringList();
        QTest::newRow("cancelled") << "" << true << "" << QStringList();
        QTest::newRow("unreadable") << "gone.png" << true << ""
                                    << QStringList{"Picture", "Cannot open gone.png"};
        QTest::newRow("unreadable before any language") << "gone.png" << false << ""
                                    << QStringList{"Background picture", "The picture cannot be opened: gone.png"};
    }
    void customFilePath()
    {
        QFETCH(QString, chosen);
        QFETCH(bool, languageLoaded);
        QFETCH(QString, result);
        QFETCH(QStringList, warnings);
        modules->write(QStringLiteral("pic.png"), "png");
        modules->write(QStringLiteral("i18n/lang_031000.ini"), "[msg]\n2=Picture\n3=\"Cannot open \"\n");
        start();
        if (languageLoaded)
            t->view->getGlobalStrings(QStringLiteral("031000"));
        FakeDialogs dialogs;
        // Relative to the program folder, so the texts stay short.
        const QString prefix = QStringLiteral("./modules/");
        FakeDialogs::nextPath = chosen.isEmpty() ? QString() : prefix + chosen;
        const QString got = t->view->getCustomFilePath();
        QCOMPARE(got, result.isEmpty() ? QString() : prefix + result);
        for (QString &w : warnings)
            w.replace(QStringLiteral("gone.png"), prefix + QStringLiteral("gone.png"));
        QCOMPARE(FakeDialogs::warnings, warnings);
        QCOMPARE(FakeDialogs::lastCaption, QStringLiteral("Open File"));
        QCOMPARE(FakeDialogs::lastFilter, QStringLiteral("Image Files(*.png)"));
    }

    // ---------------------------------------------------------- hardware definition

    void hardwareCommonClamps_data()
    {
        QTest::addColumn<QByteArray>("common");
        QTest::addColumn<int>("profiles");
        QTest::addColumn<int>("macros");
        QTest::addColumn<int>("layout");
        QTest::newRow("12 profiles -> 10") << QByteArray("maxProfile=12\nmaxMacro=300\nkbLayoutType=258") << 10 << 255 << 2;
        QTest::newRow("10 stays") << QByteArray("maxProfile=10\nmaxMacro=254\nkbLayoutType=1") << 10 << 254 << 1;
        QTest::newRow("3 stays") << QByteArray("maxProfile=3\nmaxMacro=8") << 3 << 8 << 0;
        QTest::newRow("absent") << QByteArray() << 0 << 0 << 0;
        QTest::newRow("negative and garbage") << QByteArray("maxProfile=-1\nmaxMacro=x\nkbLayoutType=-3") << 0 << 0 << 0;
        QTest::newRow("huge") << QByteArray("maxProfile=99999999999999\nmaxMacro=99999999999") << 10 << 255 << 0;
    }
    void hardwareCommonClamps()
    {
        QFETCH(QByteArray, common);
        QFETCH(int, profiles);
        QFETCH(int, macros);
        QFETCH(int, layout);
        modules->write(QStringLiteral("setting/HWDef.bin"), "[common]\n" + common + "\n");
        start();
        QCOMPARE(int(t->view->getMaxProfile()), profiles);
        QCOMPARE(t->view->profiles.size(), profiles);
        QCOMPARE(int(t->view->maxMacro), macros);
        QCOMPARE(int(t->view->kbLayoutType), layout);
        if (profiles > 0)
            QCOMPARE(QFileInfo(t->view->profiles.last()->fileName()).fileName(),
                     QStringLiteral("p%1.bin").arg(profiles));
    }

    void loadHWDef()
    {
        start();
        const QVariantList def = t->view->loadHWDef();
        QCOMPARE(def.size(), 14);
        QCOMPARE(def.at(0).toInt(), 2);
        QCOMPARE(def.at(1).toInt(), 128);
        QCOMPARE(def.at(2).typeId(), int(QMetaType::Int));
        QCOMPARE(def.at(5).toString(), QStringLiteral("Esc"));
        QCOMPARE(def.at(7).typeId(), int(QMetaType::UInt));
        QCOMPARE(def.at(7).toUInt(), 41u);
        QCOMPARE(def.at(11).toString(), QString::fromUtf8("\xc3\x84\xe2\x82\xac\xe4\xb8\xad"));
        QCOMPARE(def.at(12).toInt(), 5);
    }

    // The count at position 0 always matches the keys that follow.
    void loadHWDefMalformed_data()
    {
        QTest::addColumn<QByteArray>("layout");
        QTest::addColumn<QList<int>>("head");
        QTest::addColumn<int>("size");
        QTest::newRow("absent group") << QByteArray() << QList<int>{0, 0} << 2;
        QTest::newRow("total larger than entries")
            << QByteArray("total_HW=5\ntotal_FW=128\n1=1, 2, 3, A, 4, 5\n") << QList<int>{1, 128} << 8;
        QTest::newRow("entry with fewer than six values")
            << QByteArray("total_HW=2\ntotal_FW=16\n1=1, 2, 3\n2=1, 2, 3, B, 4, 5\n") << QList<int>{1, 16} << 8;
        QTest::newRow("huge counts")
            << QByteArray("total_HW=999999999\ntotal_FW=999999999\n1=1, 2, 3, A, 4, 5\n") << QList<int>{1, 128} << 8;
        QTest::newRow("garbage counts") << QByteArray("total_HW=x\ntotal_FW=-4\n") << QList<int>{0, 0} << 2;
    }
    void loadHWDefMalformed()
    {
        QFETCH(QByteArray, layout);
        QFETCH(QList<int>, head);
        QFETCH(int, size);
        modules->write(QStringLiteral("setting/HWDef.bin"),
                       "[common]\nkbLayoutType=1\nmaxProfile=1\n[1]\n" + layout);
        start();
        const QVariantList def = t->view->loadHWDef();
        QCOMPARE(def.size(), size);
        QCOMPARE(QList<int>({def.at(0).toInt(), def.at(1).toInt()}), head);
    }

    void usbCodeMapPairs_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("codes");
        QTest::newRow("shorter code list") << QByteArray("usbStr=Q, W, E\nusbCode=20, 26\n")
                                           << QStringList{"Q", "W"} << QList<int>{20, 26};
        QTest::newRow("later pair wins") << QByteArray("usbStr=X, X\nusbCode=1, 2\n")
                                         << QStringList{"X"} << QList<int>{2};
        QTest::newRow("one element each") << QByteArray("usbStr=A\nusbCode=4\n")
                                          << QStringList{"A"} << QList<int>{4};
        QTest::newRow("low 8 bits") << QByteArray("usbStr=A, B\nusbCode=260, x\n")
                                    << QStringList{"A", "B"} << QList<int>{4, 0};
        QTest::newRow("absent") << QByteArray() << QStringList() << QList<int>();
    }
    void usbCodeMapPairs()
    {
        QFETCH(QByteArray, table);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, codes);
        if (!table.isEmpty())
            modules->write(QStringLiteral("setting/KeyCodeDef.bin"), "[common]\n" + table);
        start();
        t->view->syncFW();
        QCOMPARE(t->view->usbCodeMap.keys(), names);
        QList<int> got;
        for (uchar c : t->view->usbCodeMap.values())
            got.append(c);
        QCOMPARE(got, codes);
        if (table.isEmpty())
            QVERIFY(t->view->loadUsbStr().isEmpty() && t->view->loadUsbCode().isEmpty());
    }

    // ---------------------------------------------------------- sounds, lifecycle

    void sounds_data()
    {
        QTest::addColumn<bool>("audio");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("player");    // the player that must have a file afterwards, -1 none
        QTest::newRow("index 5 ignored") << true << "5" << -1;
        QTest::newRow("index 0 with sound off ignored") << false << "0" << -1;
        QTest::newRow("index 3 with sound off ignored") << false << "3" << -1;
        QTest::newRow("index 0 plays the music") << true << "0" << 0;
        QTest::newRow("index 4 on its player") << true << "4" << 4;
        QTest::newRow("background regardless of sound off") << false << "background" << 0;
        QTest::newRow("end of the start-up sound starts the music") << false << "end1" << 0;
        QTest::newRow("end of the music starts it again") << false << "end0" << 0;
        QTest::newRow("end of another sound does nothing") << true << "end2" << -1;
    }
    void sounds()
    {
        QFETCH(bool, audio);
        QFETCH(QString, action);
        QFETCH(int, player);
        start();
        myQQuickView &v = *t->view;
        v.setEnableAudio(audio);
        if (action == "background")
            v.playMedia_Background();
        else if (action.startsWith("end"))
            emit v.media[action.mid(3).toInt()]->mediaStatusChanged(QMediaPlayer::EndOfMedia);
        else
            v.playMedia_Index(uchar(action.toInt()));
        for (int i = 0; i < myQQuickView::kMediaCount; ++i) {
            const QString file = v.media[i]->source().fileName();
            QCOMPARE(file, i == player ? (i == 0 ? QStringLiteral("00.mp3") : QStringLiteral("0%1.wav").arg(i)) : QString());
        }
        v.clearAllMedia();
        for (QMediaPlayer *p : v.media)
            QVERIFY(p->source().isEmpty());
    }

    // The root's function runs from the event loop, after the slot returned.
    void rootCallsAreQueued()
    {
        modules->write(QStringLiteral("root.qml"),
                       "import QtQuick\nItem { property var calls: []\n"
                       "function initUI() { calls.push('initUI') }\n"
                       "function run() { calls.push('run') }\n"
                       "function zzzMorvel() { calls.push('zzzMorvel') }\n"
                       "function detectKeyboard(d, c) { calls.push('key ' + d + ' ' + c) } }\n");
        start();
        t->view->setSource(QUrl::fromLocalFile(modules->path(QStringLiteral("root.qml"))));
        QObject *root = t->view->rootObject();
        QVERIFY(root);
        t->view->initUI();
        t->view->runUI();
        t->view->lightingChanged();
        t->view->forwardKeyboardEvent(true, 4);
        QVERIFY(root->property("calls").toStringList().isEmpty());
        QTRY_COMPARE(root->property("calls").toStringList(),
                     QStringList({"initUI", "run", "zzzMorvel", "key true 4"}));
        t->view->forwardMouseEvent(true, 1, 2, 3);  // the root has no detectMouse: nothing happens
        QTest::qWait(10);
    }

    void updaterStartsBesideTheProgram()
    {
        modules->write(QStringLiteral("update/UX318.exe"), "#!/bin/sh\necho started > ./modules/update/ran\n");
        QFile::setPermissions(modules->path(QStringLiteral("update/UX318.exe")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        start();
        t->hid.swichCurDevice(0);   // the updater needs the keyboard to itself
        QVERIFY(t->hid.isListenerRunning());
        QElapsedTimer timer;
        timer.start();
        t->view->openUpdateExe();
        QVERIFY(timer.elapsed() >= 500);
        QVERIFY(!t->hid.isListenerRunning());
        QTRY_VERIFY(modules->exists(QStringLiteral("update/ran")));
        // A finished updater leaves no process object behind.
        QTRY_VERIFY(t->view->findChildren<QProcess *>().isEmpty());
    }

    void updaterMissingDoesNothing()
    {
        start();
        t->view->openUpdateExe();
        QTRY_VERIFY(t->view->findChildren<QProcess *>().isEmpty());
    }

    // The documents reach the view only through the context property.
    void slotsReachableFromDocuments()
    {
        modules->write(QStringLiteral("root.qml"),
                       "import QtQuick\nItem { function go() {\n"
                       "  ui_View.setEnabled(false)\n"
                       "  return [ui_View.getMaxProfile(), ui_View.ui_80H_GetHWMode(), ui_View.ui_92H_GetUserPicture(0).length]\n"
                       "} }\n");
        start();
        t->view->rootContext()->setContextProperty(QStringLiteral("ui_View"), t->view.get());
        t->view->setSource(QUrl::fromLocalFile(modules->path(QStringLiteral("root.qml"))));
        QVERIFY(t->view->rootObject());
        QVariant result;
        QVERIFY(QMetaObject::invokeMethod(t->view->rootObject(), "go", Q_RETURN_ARG(QVariant, result)));
        QVERIFY(!t->view->isEnabled());
        QCOMPARE(result.toList(), QVariantList({3, 1, 512}));
    }

    // The files the program ships read completely through the view's readers.
    void shippedDataReadsCompletely()
    {
        const QDir data(QStringLiteral(K3_DATA_SOURCE_DIR));
        if (!data.exists(QStringLiteral("setting/HWDef.bin")))
            QSKIP("no shipped data in this checkout");
        for (const QString &sub : {QStringLiteral("setting"), QStringLiteral("i18n")})
            for (const QString &f : QDir(data.filePath(sub)).entryList(QDir::Files)) {
                const QString target = modules->path(sub + QLatin1Char('/') + f);
                QFile::remove(target);
                QVERIFY(QFile::copy(data.filePath(sub + QLatin1Char('/') + f), target));
            }
        start();
        myQQuickView &v = *t->view;
        QCOMPARE(v.profiles.size(), int(v.getMaxProfile()));
        const QSettings raw(modules->path(QStringLiteral("setting/HWDef.bin")), QSettings::IniFormat);
        for (uchar layout : {0, 1}) {
            v.kbLayoutType = layout;
            const QVariantList def = v.loadHWDef();
            QVERIFY(def.at(0).toInt() > 0);
            QCOMPARE(def.at(0).toInt(), raw.value(QStringLiteral("%1/total_HW").arg(layout)).toInt());
            for (int i = 0; i < def.at(0).toInt(); ++i)
                QVERIFY(def.at(6 + 6 * i).toInt() >= 0 && def.at(6 + 6 * i).toInt() < 128);
        }
        v.syncFW();
        QVERIFY(!v.usbCodeMap.isEmpty());
        QCOMPARE(v.loadUsbStr().size(), v.loadUsbCode().size());
        QCOMPARE(v.usbCodeMap.size(), v.loadUsbStr().size());
        const QVariantMap languages = v.chkLanguages();
        QVERIFY(languages.contains(QStringLiteral("ENGLISH")));
        for (const QVariant &code : languages) {
            QVERIFY(v.getGlobalStrings(code.toString()).size() > 100);
            QVERIFY2(!v.msgStrings.contains(QString()), qPrintable(code.toString()));
        }
        QCOMPARE(v.loadDefaultProfile(QStringLiteral("color/color")).toStringList().size(), 21);
        QCOMPARE(v.loadDefaultProfile(QStringLiteral("color/ledType")).toStringList().size(), 7);
    }

private:
    void start() { t = std::make_unique<ViewUnderTest>(); }

    std::unique_ptr<ModulesDir> modules;
    std::unique_ptr<ViewUnderTest> t;
};

QTEST_MAIN(TestViewFiles)
#include "tst_viewfiles.moc"
