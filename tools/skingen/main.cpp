// skingen: draws the skin images into <img dir>/skin<N>/, or lays out the
// generated skins on one contact sheet.
//
//   skingen --out <img dir> [--stamp <file>]
//   skingen --contact-sheet <out.png> <skin dir>...
#include "skin.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>

namespace {

QTextStream &err()
{
    static QTextStream s(stderr);
    return s;
}

// Writes only when the bytes differ, so unchanged images keep their time stamps.
bool writeIfChanged(const QString &path, const QByteArray &bytes)
{
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.size() == bytes.size() && old.readAll() == bytes)
        return true;
    old.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(bytes);
    return f.commit();
}

// Removes images that an older table produced and the current one does not.
void removeStale(const QString &skinDir, const QSet<QString> &keep)
{
    // Absolute paths on both sides: relativeFilePath() passes a relative
    // file name through unchanged, which would make every image look stale.
    const QDir root(QFileInfo(skinDir).absoluteFilePath());
    QDirIterator it(root.path(), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = QFileInfo(it.next()).absoluteFilePath();
        if (!keep.contains(root.relativeFilePath(file)))
            QFile::remove(file);
    }
}

int generate(const QString &outDir, const QString &stamp)
{
    const QVector<skin::ImageEntry> table = skin::imageTable();
    QSet<QString> names;
    for (const skin::ImageEntry &s : table)
        names.insert(s.path);

    int written = 0;
    for (int n : skin::skinNumbers()) {
        const skin::Theme &theme = skin::theme(n);
        const QString dir = QDir(outDir).filePath(QStringLiteral("skin%1").arg(n));
        for (const skin::ImageEntry &s : table) {
            const QImage img = skin::render(s, theme);
            QByteArray bytes;
            QBuffer buf(&bytes);
            buf.open(QIODevice::WriteOnly);
            if (!img.save(&buf, "PNG") || !writeIfChanged(QDir(dir).filePath(s.path), bytes)) {
                err() << "skingen: cannot write " << QDir(dir).filePath(s.path) << "\n";
                return 1;
            }
            ++written;
        }
        removeStale(dir, names);
    }
    if (!stamp.isEmpty()) {
        QSaveFile f(stamp);
        if (!f.open(QIODevice::WriteOnly) || f.write(QByteArray::number(written) + '\n') < 0 || !f.commit()) {
            err() << "skingen: cannot write " << stamp << "\n";
            return 1;
        }
    }
    return 0;
}

int usage()
{
    err() << "usage: skingen --out <img dir> [--stamp <file>]\n"
             "       skingen --contact-sheet <out.png> <skin dir>...\n";
    return 2;
}

}  // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);

    if (args.size() >= 3 && args[0] == QLatin1String("--contact-sheet")) {
        // Only the names on the contact sheet need fonts, hence a GUI application;
        // nothing is shown.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QString error;
        if (!skin::writeContactSheet(args.mid(2), args[1], &error)) {
            err() << "skingen: " << error << "\n";
            return 1;
        }
        return 0;
    }

    QString out, stamp;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == QLatin1String("--stamp") && i + 1 < args.size())
            stamp = args[++i];
        else
            return usage();
    }
    if (out.isEmpty())
        return usage();
    QCoreApplication app(argc, argv);
    return generate(out, stamp);
}
