#include "viewfiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSaveFile>

namespace viewfiles {

namespace {

// Reasons for refused files; silent unless enabled with QT_LOGGING_RULES.
Q_LOGGING_CATEGORY(lcFiles, "k3.view.files", QtWarningMsg)

bool isReadableDataFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.size() <= kMaxFileBytes;
}

QString openFileDialog(QWidget *parent, const QString &caption, const QString &dir,
                       const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString saveFileDialog(QWidget *parent, const QString &caption, const QString &dir,
                       const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void warningBox(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text, QMessageBox::Ok);
}

} // namespace

Dialogs::FileFn Dialogs::openFile = openFileDialog;
Dialogs::FileFn Dialogs::saveFile = saveFileDialog;
Dialogs::WarnFn Dialogs::warning = warningBox;

IniReader::IniReader(const QString &path)
{
    if (isReadableDataFile(path))
        settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
}

QVariant IniReader::value(const QString &key, const QVariant &fallback) const
{
    if (!settings || key.isEmpty())
        return fallback;
    return settings->value(key, fallback);
}

QVariantList IniReader::list(const QString &key) const { return toList(value(key)); }
QString IniReader::text(const QString &key) const { return toText(value(key)); }
int IniReader::count(const QString &key, int max) const { return toCount(value(key), max); }

QVariantList toList(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QVariantList:
        return value.toList();
    case QMetaType::QStringList: {
        QVariantList out;
        for (const QString &s : value.toStringList())
            out.append(s);
        return out;
    }
    default:
        break;
    }
    // The settings class reads a list of one element back as a plain value.
    if (!value.isValid() || value.toString().isEmpty())
        return {};
    return {value};
}

QString toText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

int toCount(const QVariant &value, int max)
{
    bool ok = false;
    const qlonglong n = value.toString().trimmed().toLongLong(&ok);
    if (!ok || n < 0)
        return 0;
    return n > max ? max : int(n);
}

bool copyReplacing(const QString &source, const QString &target)
{
    if (!isReadableDataFile(source)) {
        qCInfo(lcFiles) << "not copied: missing, not a file or too large:" << source;
        return false;
    }
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCInfo(lcFiles) << "not copied:" << source << in.errorString();
        return false;
    }
    const QFileInfo before(target);
    const bool existed = before.exists();
    const qint64 oldSize = before.size();
    const QDateTime oldTime = before.lastModified();
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        qCInfo(lcFiles) << "not replaced:" << target << out.errorString();
        return false;
    }
    char buffer[64 * 1024];
    qint64 total = 0;
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0) {
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
        total += n;
        // The size was checked above, but the file may grow while we copy.
        if (total > kMaxFileBytes || out.write(buffer, n) != n) {
            out.cancelWriting();
            return false;
        }
    }
    if (!out.commit()) {
        qCInfo(lcFiles) << "not replaced:" << target << out.errorString();
        return false;
    }
    // The settings class re-reads a file only when its size or modification time
    // changed. A replacement of the same size written within the same clock tick
    // would go unseen, so its time is moved past the old one.
    const QFileInfo after(target);
    if (existed && after.size() == oldSize && after.lastModified() == oldTime) {
        QFile touched(target);
        if (touched.open(QIODevice::ReadWrite))
            touched.setFileTime(oldTime.addSecs(2), QFileDevice::FileModificationTime);
    }
    return true;
}

} // namespace viewfiles
