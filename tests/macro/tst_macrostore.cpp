// The macro files: naming, listing, slot bookkeeping, steps, import and export,
// and the refusal of names that would reach outside the macro folder.
#include "macrostore.h"

#include <QtTest>

namespace {

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QByteArray readText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QByteArray macroFile(int index, const QByteArray &steps = {})
{
    QByteArray text = "[config]\nindex=" + QByteArray::number(index) + "\ntotal=0\nrepeat=1\ndid=-1\n";
    if (!steps.isEmpty())
        text += "[macro]\n" + steps;
    return text;
}

// Reads a saved file back as another process would: a copy under a fresh
// name is parsed from disk, not served from the settings cache.
QStringList loadFromDisk(MacroStore &store, const QString &name)
{
    static int n = 0;
    const QString copy = QStringLiteral("disk copy %1").arg(++n);
    QFile::copy(store.pathOf(name), store.pathOf(copy));
    const QStringList steps = store.load(copy);
    QFile::remove(store.pathOf(copy));
    return steps;
}

class DialogsThatFail : public MacroDialogs
{
public:
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        qFatal("a test opened a file dialog");
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        qFatal("a test opened a file dialog");
    }
    void warning(QWidget *, const QString &, const QString &) override { qFatal("a test opened a warning"); }
};

} // namespace

using IndexMap = QMap<QString, int>;

class TestMacroStore : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void defaultName_data();
    void defaultName();
    void createFillsFirstGap();
    void names();
    void initSlots_data();
    void initSlots();
    void initReportsRemovals();
    void saveAndLoad_data();
    void saveAndLoad();
    void saveEmptyList();
    void saveResend_data();
    void saveResend();
    void saveMissingFile();
    void loadMissingStep();
    void loadAbsurdTotal_data();
    void loadAbsurdTotal();
    void config();
    void remove();
    void rename_data();
    void rename();
    void importExport();
    void unsafeNames_data();
    void unsafeNames();

private:
    QString file(const QString &name) const { return folder + name + ".bin"; }
    IndexMap indexes() const;

    std::unique_ptr<QTemporaryDir> tmp;
    QString folder;
    std::unique_ptr<MacroStore> store;
    DialogsThatFail noDialogs;
};

void TestMacroStore::init()
{
    tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(tmp->isValid());
    folder = tmp->path() + "/macro/";
    QVERIFY(QDir().mkpath(folder));
    store = std::make_unique<MacroStore>(folder);
    store->setDialogs(&noDialogs);
}

IndexMap TestMacroStore::indexes() const
{
    IndexMap map;
    for (const QString &f : store->names())
        map[f.chopped(4)] = store->loadConfig(f.chopped(4)).value(0).toInt();
    return map;
}

void TestMacroStore::defaultName_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("name");
    QTest::newRow("1") << 1 << "Macro. 001";
    QTest::newRow("2") << 2 << "Macro. 002";
    QTest::newRow("999") << 999 << "Macro. 999";
    QTest::newRow("1000") << 1000 << "Macro. 1000";
}

void TestMacroStore::defaultName()
{
    QFETCH(int, number);
    QFETCH(QString, name);
    QCOMPARE(MacroStore::defaultName(number), name);
}

void TestMacroStore::createFillsFirstGap()
{
    writeText(file("Macro. 001"), macroFile(0));
    writeText(file("Macro. 003"), macroFile(1));
    QCOMPARE(store->create(), QStringLiteral("Macro. 002"));
    QCOMPARE(store->create(), QStringLiteral("Macro. 004"));

    QSettings onDisk(file("Macro. 002"), QSettings::IniFormat);
    QCOMPARE(onDisk.value("config/index").toString(), "-1");
    QCOMPARE(onDisk.value("config/total").toString(), "0");
    QCOMPARE(onDisk.value("config/repeat").toString(), "1");
    QCOMPARE(onDisk.value("config/did").toString(), "-1");
}

void TestMacroStore::names()
{
    writeText(file("b"), macroFile(0));
    writeText(file("A"), macroFile(0));
    writeText(folder + "c.txt", macroFile(0));
    writeText(file("Macro. 010"), macroFile(0));
    QVERIFY(QDir().mkpath(folder + "d.bin"));   // a folder is no macro
    writeText(folder + "tab\there.bin", macroFile(0));   // a name the store would refuse
    QCOMPARE(store->names(), (QStringList{"A.bin", "b.bin", "Macro. 010.bin"}));
}

void TestMacroStore::initSlots_data()
{
    QTest::addColumn<IndexMap>("before");   // file -> config/index, -2 for none
    QTest::addColumn<int>("maxMacro");
    QTest::addColumn<IndexMap>("after");

    QTest::newRow("contested, out of range and missing indexes")
        << IndexMap{{"a", 0}, {"b", 0}, {"c", 5}, {"d", -2}} << 3
        << IndexMap{{"a", 0}, {"Macro. 002", 1}, {"Macro. 003", 2}};
    QTest::newRow("zero slots empties the folder")
        << IndexMap{{"a", 0}, {"Macro. 001", 0}} << 0 << IndexMap{};
    QTest::newRow("empty folder") << IndexMap{} << 2
                                  << IndexMap{{"Macro. 001", 0}, {"Macro. 002", 1}};
    QTest::newRow("earlier name ignoring case wins")
        << IndexMap{{"B", 0}, {"a", 0}} << 1 << IndexMap{{"a", 0}};
    QTest::newRow("negative index removed")
        << IndexMap{{"x", -1}} << 1 << IndexMap{{"Macro. 001", 0}};
    // The default name of slot 0 belongs to the macro of slot 2: it stays.
    QTest::newRow("default name kept for another slot")
        << IndexMap{{"Macro. 001", 2}} << 3
        << IndexMap{{"Macro. 001", 2}, {"Macro. 002", 1}, {"Macro. 004", 0}};
    QTest::newRow("all slots kept under other names")
        << IndexMap{{"x", 1}, {"y", 0}} << 2 << IndexMap{{"x", 1}, {"y", 0}};
}

void TestMacroStore::initSlots()
{
    QFETCH(IndexMap, before);
    QFETCH(int, maxMacro);
    QFETCH(IndexMap, after);

    const QByteArray steps = "0=A    [Down]\n";
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        writeText(file(it.key()), it.value() == -2 ? QByteArray("[config]\ntotal=1\n[macro]\n" + steps)
                                                   : macroFile(it.value(), steps).replace("total=0", "total=1"));
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()))
            QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("REMOVE:  \"%1\"").arg(file(it.key()))));
    }
    store->init(uchar(maxMacro));
    QCOMPARE(indexes(), after);
    // Kept files keep their steps; created ones are empty.
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        QCOMPARE(store->load(it.key()).size(), before.contains(it.key()) ? 1 : 0);
}

void TestMacroStore::initReportsRemovals()
{
    writeText(file("a"), macroFile(0));
    writeText(file("b"), macroFile(0));
    QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("REMOVE:  \"%1\"").arg(file("b"))));
    QTest::failOnWarning(QRegularExpression("REMOVE"));
    store->init(1);
    QCOMPARE(store->names(), QStringList{"a.bin"});
}

void TestMacroStore::saveAndLoad_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("plain") << QStringList{"A    [Down]", "A      [Up]", "1000   [Delay]"};
    // Texts with a meaning of their own in the INI format must come back unchanged.
    QTest::newRow("separators")
        << QStringList{",    [Down]", ",      [Up]", "=    [Down]", ";      [Up]", "#    [Down]"};
    QTest::newRow("quotes and backslash") << QStringList{"\"    [Down]", "\\      [Up]", "'    [Down]"};
    QTest::newRow("spaces and commas in names") << QStringList{" a, b     [Down]", "Num Lock      [Up]"};
    QTest::newRow("non-ASCII") << QStringList{"Ä    [Down]", "€      [Up]"};
    QTest::newRow("odd texts") << QStringList{"", "0", "[Up]", "@Invalid()"};
}

void TestMacroStore::saveAndLoad()
{
    QFETCH(QStringList, steps);
    writeText(file("m"), macroFile(-1, "0=old\n1=old\n2=old\n3=old\n4=old\n5=old\n6=old\n"));
    QCOMPARE(store->save("m", steps), true);
    QCOMPARE(store->load("m"), steps);
    QCOMPARE(loadFromDisk(*store, "m"), steps);
}

void TestMacroStore::saveEmptyList()
{
    writeText(file("m"), macroFile(-1, "0=A    [Down]\n").replace("total=0", "total=1"));
    QVERIFY(store->save("m", {}));
    const QByteArray text = readText(file("m"));
    QVERIFY2(!text.contains("[macro]"), text);
    QVERIFY2(text.contains("total=0"), text);
    QCOMPARE(store->load("m"), QStringList{});
}

void TestMacroStore::saveResend_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("sentTo");
    QTest::newRow("slot 0") << 0 << 0;
    QTest::newRow("slot 16") << 16 << 16;
    QTest::newRow("slot 17") << 17 << -1;
    QTest::newRow("no slot") << -1 << -1;
}

void TestMacroStore::saveResend()
{
    QFETCH(int, index);
    QFETCH(int, sentTo);
    writeText(file("m"), macroFile(index));
    const QStringList steps{"A    [Down]", "A      [Up]"};
    int sent = -1;
    QStringList seen;
    QVERIFY(store->save("m", steps, [&](int slot) {
        sent = slot;
        seen = MacroStore(folder).load("m");   // the re-send reads the file again
    }));
    QCOMPARE(sent, sentTo);
    if (sentTo >= 0)
        QCOMPARE(seen, steps);
}

void TestMacroStore::saveMissingFile()
{
    bool sent = false;
    QCOMPARE(store->save("gone", {"A    [Down]"}, [&](int) { sent = true; }), false);
    QVERIFY(!QFile::exists(file("gone")));
    QVERIFY(!sent);
}

void TestMacroStore::loadMissingStep()
{
    writeText(file("m"), "[config]\ntotal=3\n[macro]\n0=first\n2=third\n");
    QCOMPARE(store->load("m"), (QStringList{"first", "0", "third"}));
    writeText(file("n"), "[macro]\n0=first\n");
    QCOMPARE(store->load("n"), QStringList{});   // no total: no steps
    QCOMPARE(store->load("missing"), QStringList{});
}

void TestMacroStore::loadAbsurdTotal_data()
{
    QTest::addColumn<QByteArray>("total");
    QTest::addColumn<int>("count");
    QTest::newRow("negative") << QByteArray("-5") << 0;
    QTest::newRow("not a number") << QByteArray("many") << 0;
    QTest::newRow("huge") << QByteArray("2000000000") << MacroStore::kMaxSteps;
}

void TestMacroStore::loadAbsurdTotal()
{
    QFETCH(QByteArray, total);
    QFETCH(int, count);
    writeText(file("m"), "[config]\ntotal=" + total + "\n");
    QCOMPARE(store->load("m").size(), count);
}

void TestMacroStore::config()
{
    writeText(file("m"), "[config]\ntotal=0\n");
    QCOMPARE(store->loadConfig("m"), (QVariantList{-1, 1}));
    store->setConfig("m", {5, 3}, 7);
    QCOMPARE(store->loadConfig("m"), (QVariantList{5, 3}));
    QSettings onDisk(file("m"), QSettings::IniFormat);
    QCOMPARE(onDisk.value("config/did").toUInt(), 7u);

    // A short list would turn the index into slot 0; it changes nothing.
    store->setConfig("m", {9}, 1);
    QCOMPARE(store->loadConfig("m"), (QVariantList{5, 3}));

    writeText(file("n"), "[config]\nindex=abc\nrepeat=x\n");
    QCOMPARE(store->loadConfig("n"), (QVariantList{0, 0}));

    QCOMPARE(store->loadConfig("missing"), QVariantList{});
    store->setConfig("missing", {1, 1}, 0);
    QVERIFY(!QFile::exists(file("missing")));
}

void TestMacroStore::remove()
{
    writeText(file("m"), macroFile(0));
    QCOMPARE(store->remove("m"), true);
    QVERIFY(!QFile::exists(file("m")));
    QCOMPARE(store->remove("m"), false);
}

void TestMacroStore::rename_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("ok");
    QTest::newRow("free name") << "a" << "c" << true;
    QTest::newRow("same name") << "a" << "a" << true;
    QTest::newRow("onto an existing macro") << "a" << "b" << false;
    QTest::newRow("missing source") << "x" << "c" << false;
    QTest::newRow("empty name") << "a" << "" << false;
    QTest::newRow("separator") << "a" << "sub/c" << false;
    QTest::newRow("out of the folder") << "a" << "../c" << false;
}

void TestMacroStore::rename()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, ok);
    writeText(file("a"), macroFile(1, "0=a\n"));
    writeText(file("b"), macroFile(2, "0=b\n"));
    QVERIFY(QDir().mkpath(folder + "sub"));
    const QByteArray a = readText(file("a"));
    const QByteArray b = readText(file("b"));

    QCOMPARE(store->rename(from, to), ok);
    if (ok && from != to) {
        QVERIFY(!QFile::exists(file(from)));
        QCOMPARE(readText(file(to)), a);
    } else {
        QCOMPARE(readText(file("a")), a);
    }
    QCOMPARE(readText(file("b")), b);
    QVERIFY(!QFile::exists(folder + "sub/c.bin"));
    QVERIFY(!QFile::exists(folder + "../c.bin"));
}

void TestMacroStore::importExport()
{
    const QString outside = tmp->path() + "/";
    writeText(file("m"), macroFile(3, "0=mine\n"));
    const QByteArray mine = readText(file("m"));
    writeText(outside + "in.mc", "[config]\nindex=4\ntotal=1\n[macro]\n0=theirs\n");

    // Import replaces the macro's file byte for byte.
    QVERIFY(store->importFrom("m", outside + "in.mc"));
    QCOMPARE(readText(file("m")), readText(outside + "in.mc"));
    QCOMPARE(store->load("m"), QStringList{"theirs"});

    // A failing copy keeps the previous file.
    writeText(file("m"), mine);
    QVERIFY(!store->importFrom("m", outside + "no such.mc"));
    QVERIFY(!store->importFrom("m", outside));   // a folder
    QCOMPARE(readText(file("m")), mine);

    // Importing into a macro that is gone imports nothing.
    QVERIFY(!store->importFrom("gone", outside + "in.mc"));
    QVERIFY(!QFile::exists(file("gone")));

    // Export replaces an existing file.
    writeText(outside + "out.mc", "something else, longer than the macro file itself............"
                                  "......................................................");
    QVERIFY(store->exportTo("m", outside + "out.mc"));
    QCOMPARE(readText(outside + "out.mc"), mine);
    QVERIFY(!store->exportTo("gone", outside + "out2.mc"));
    QVERIFY(!QFile::exists(outside + "out2.mc"));
    QVERIFY(!store->exportTo("m", outside + "no dir/out.mc"));

    // Nothing but the macro files is left in the folder.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"m.bin"});
}

void TestMacroStore::unsafeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("parent file") << "../victim";
    QTest::newRow("slash") << "sub/victim";
    QTest::newRow("backslash") << "..\\victim";
    QTest::newRow("absolute") << "/tmp/victim";
    QTest::newRow("newline") << "a\nb";
}

void TestMacroStore::unsafeNames()
{
    QFETCH(QString, name);
    // Files a path built from the name could reach.
    const QStringList victims{tmp->path() + "/victim.bin", folder + "sub/victim.bin", folder + "..bin",
                              folder + ".bin", "/tmp/victim.bin"};
    QVERIFY(QDir().mkpath(folder + "sub"));
    const QByteArray content = macroFile(0, "0=keep\n");
    for (const QString &v : victims)
        writeText(v, content);
    writeText(file("good"), macroFile(1));
    writeText(tmp->path() + "/in.mc", macroFile(2));

    QCOMPARE(store->pathOf(name), QString());
    QCOMPARE(store->load(name), QStringList{});
    QCOMPARE(store->loadConfig(name), QVariantList{});
    QCOMPARE(store->save(name, {"x"}), false);
    store->setConfig(name, {9, 9}, 9);
    QCOMPARE(store->importFrom(name, tmp->path() + "/in.mc"), false);
    QCOMPARE(store->exportTo(name, tmp->path() + "/out.mc"), false);
    QCOMPARE(store->rename("good", name), false);
    QCOMPARE(store->rename(name, "fresh"), false);
    QCOMPARE(store->remove(name), false);

    for (const QString &v : victims) {
        QCOMPARE(readText(v), content);
        QFile::remove(v);
    }
    QVERIFY(QFile::exists(file("good")));
    QVERIFY(!QFile::exists(file("fresh")));
    QVERIFY(!QFile::exists(tmp->path() + "/out.mc"));
}

QTEST_GUILESS_MAIN(TestMacroStore)
#include "tst_macrostore.moc"
