#include "macrostore.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>
#include <array>

namespace {

const QString kExtension = QStringLiteral(".bin");
const QString kIndexKey = QStringLiteral("config/index");
const QString kTotalKey = QStringLiteral("config/total");
const QString kRepeatKey = QStringLiteral("config/repeat");
const QString kDidKey = QStringLiteral("config/did");
const QString kStepGroup = QStringLiteral("macro");

QString stepKey(int i)
{
    return kStepGroup + QLatin1Char('/') + QString::number(i);
}

bool isFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// Copies `source` over `target` through a temporary file, so `target` keeps
// its old content unless the whole copy succeeded.
bool copyReplacing(const QString &source, const QString &target)
{
    if (!QFileInfo(source).isFile())
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    std::array<char, 64 * 1024> chunk;
    for (;;) {
        const qint64 n = in.read(chunk.data(), qint64(chunk.size()));
        if (n < 0) {
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        if (out.write(chunk.data(), n) != n) {
            out.cancelWriting();
            return false;
        }
    }
    return out.commit();
}

} // namespace

QString MacroDialogs::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString MacroDialogs::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                   const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void MacroDialogs::warning(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::warning(parent, title, text, QMessageBox::Ok);
}

static MacroDialogs *standardDialogs()
{
    static MacroDialogs dialogs;
    return &dialogs;
}

MacroStore::MacroStore(const QString &folder, QObject *parent)
    : QObject(parent),
      dir(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/')),
      dialogsSeam(standardDialogs())
{
}

void MacroStore::setDialogs(MacroDialogs *dialogs)
{
    dialogsSeam = dialogs ? dialogs : standardDialogs();
}

bool MacroStore::isSafeName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
#ifdef Q_OS_WIN
        // A colon names a drive or an alternate data stream.
        if (c == QLatin1Char(':'))
            return false;
#endif
    }
    return true;
}

QString MacroStore::pathOf(const QString &name) const
{
    if (!isSafeName(name))
        return QString();
    const QString path = dir + name + kExtension;
    // Belt and braces: the file must sit directly in the macro folder.
    const QString folderPath = QDir::cleanPath(QDir(dir).absolutePath());
    if (QFileInfo(QDir::cleanPath(QDir(dir).absoluteFilePath(name + kExtension))).absolutePath() != folderPath)
        return QString();
    return path;
}

QString MacroStore::defaultName(int number)
{
    return QStringLiteral("Macro. ") + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

bool MacroStore::exists(const QString &name) const
{
    return isFile(pathOf(name));
}

QStringList MacroStore::names() const
{
    QStringList files = QDir(dir).entryList({QStringLiteral("*") + kExtension},
                                            QDir::Files | QDir::CaseSensitive, QDir::NoSort);
    // Only names the store can open again are offered.
    files.erase(std::remove_if(files.begin(), files.end(),
                               [](const QString &f) { return !isSafeName(f.chopped(kExtension.size())); }),
                files.end());
    // Ignore case first; equal names under that rule keep a fixed order.
    std::sort(files.begin(), files.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    return files;
}

bool MacroStore::createDefault(const QString &path, int index)
{
    QDir().mkpath(dir);
    QSettings s(path, QSettings::IniFormat);
    s.setValue(kIndexKey, index);
    s.setValue(kTotalKey, 0);
    s.setValue(kRepeatKey, 1);
    s.setValue(kDidKey, -1);
    s.sync();
    return s.status() == QSettings::NoError && isFile(path);
}

QString MacroStore::create()
{
    for (int n = 1; n > 0; ++n) {
        const QString name = defaultName(n);
        const QString path = pathOf(name);
        if (QFileInfo::exists(path))
            continue;
        return createDefault(path, -1) ? name : QString();
    }
    return QString();
}

bool MacroStore::remove(const QString &name)
{
    const QString path = pathOf(name);
    return isFile(path) && QFile::remove(path);
}

bool MacroStore::rename(const QString &oldName, const QString &newName)
{
    const QString from = pathOf(oldName);
    const QString to = pathOf(newName);
    if (!isFile(from) || to.isEmpty())
        return false;
    if (from == to)
        return true;
    // QFile::rename never replaces an existing file; check anyway so that a
    // target of another kind (a folder) is left alone as well.
    if (QFileInfo::exists(to))
        return false;
    return QFile::rename(from, to);
}

bool MacroStore::save(const QString &name, const QStringList &steps,
                      const std::function<void(int)> &resend)
{
    const QString path = pathOf(name);
    if (!isFile(path))
        return false;
    QSettings s(path, QSettings::IniFormat);
    s.remove(kStepGroup);
    s.setValue(kTotalKey, steps.size());
    for (int i = 0; i < steps.size(); ++i)
        s.setValue(stepKey(i), steps.at(i));
    // The re-send reads the file again, so the steps go to disk first.
    s.sync();
    if (s.status() != QSettings::NoError)
        return false;
    const int index = s.value(kIndexKey, -1).toInt();
    if (index >= 0 && index < kResendSlots && resend)
        resend(index);
    return true;
}

QStringList MacroStore::load(const QString &name) const
{
    const QString path = pathOf(name);
    if (!isFile(path))
        return {};
    QSettings s(path, QSettings::IniFormat);
    const int total = qBound(0, s.value(kTotalKey, 0).toInt(), kMaxSteps);
    QStringList steps;
    steps.reserve(total);
    for (int i = 0; i < total; ++i) {
        const QVariant v = s.value(stepKey(i), QStringLiteral("0"));
        // An unquoted text with commas reads back as a list.
        steps << (v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(','))
                                                        : v.toString());
    }
    return steps;
}

QVariantList MacroStore::loadConfig(const QString &name) const
{
    const QString path = pathOf(name);
    if (!isFile(path))
        return {};
    QSettings s(path, QSettings::IniFormat);
    return {s.value(kIndexKey, -1).toInt(), s.value(kRepeatKey, 1).toInt()};
}

void MacroStore::setConfig(const QString &name, const QVariantList &config, uint deviceIndex)
{
    const QString path = pathOf(name);
    // A short list would write an invalid index, which reads back as slot 0.
    if (!isFile(path) || config.size() < 2)
        return;
    QSettings s(path, QSettings::IniFormat);
    s.setValue(kIndexKey, config.at(0));
    s.setValue(kRepeatKey, config.at(1));
    s.setValue(kDidKey, deviceIndex);
}

void MacroStore::init(uchar maxMacro)
{
    std::array<bool, 256> slotFree;
    slotFree.fill(true);
    QStringList surplus;
    for (const QString &file : names()) {
        const QString path = dir + file;
        const int index = QSettings(path, QSettings::IniFormat).value(kIndexKey, -1).toInt();
        if (index >= 0 && index < maxMacro && slotFree[size_t(index)])
            slotFree[size_t(index)] = false;
        else
            surplus << path;
    }
    for (const QString &path : surplus) {
        qDebug() << "REMOVE: " << path;
        QFile::remove(path);
    }
    int spare = maxMacro;
    for (int i = 1; i <= maxMacro; ++i) {
        if (!slotFree[size_t(i - 1)])
            continue;
        QString path = pathOf(defaultName(i));
        // The default name may belong to a file kept for another slot; that
        // file stays as it is and this slot gets the next unused number.
        while (QFileInfo::exists(path))
            path = pathOf(defaultName(++spare));
        createDefault(path, i - 1);
    }
}

bool MacroStore::importFrom(const QString &name, const QString &source)
{
    const QString path = pathOf(name);
    return isFile(path) && copyReplacing(source, path);
}

bool MacroStore::exportTo(const QString &name, const QString &target)
{
    const QString path = pathOf(name);
    return isFile(path) && !target.isEmpty() && copyReplacing(path, target);
}
