#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

class QWidget;

// File helpers shared by the view's slots: bounded reading of INI files that the
// program does not own, and replacement of a file that keeps the old content
// unless the new content was written completely.
namespace viewfiles {

// Larger files are treated as unreadable: every data file of the program is a
// few kilobytes, and a user may point a dialog at anything.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
// Upper bound of any count read from a file ("font/total", "common/total", ...).
constexpr int kMaxCount = 4096;

// Read-only access to one INI file. A missing, oversized or non-regular file
// reads as empty.
class IniReader
{
public:
    explicit IniReader(const QString &path);
    QVariant value(const QString &key, const QVariant &fallback = {}) const;
    // A value as a list: a single value becomes a one-element list, an absent one empty.
    QVariantList list(const QString &key) const;
    // A value as text; a value that the reader split at commas is joined again.
    QString text(const QString &key) const;
    // An integer clamped to [0, max]; absent or not a number gives 0.
    int count(const QString &key, int max = kMaxCount) const;

private:
    std::unique_ptr<QSettings> settings;
};

QVariantList toList(const QVariant &value);
QString toText(const QVariant &value);
int toCount(const QVariant &value, int max = kMaxCount);

// Copies `source` over `target` through a temporary file in the target's folder.
// The target is replaced only when the whole copy succeeded; otherwise it keeps
// its old content and false is returned.
bool copyReplacing(const QString &source, const QString &target);

// Dialogs used by the slots; tests replace these so nothing blocks.
struct Dialogs
{
    using FileFn = QString (*)(QWidget *parent, const QString &caption, const QString &dir,
                               const QString &filter);
    using WarnFn = void (*)(const QString &title, const QString &text);
    static FileFn openFile;
    static FileFn saveFile;
    static WarnFn warning;
};

} // namespace viewfiles
