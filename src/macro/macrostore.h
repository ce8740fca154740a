#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

class QWidget;

// The dialogs the macro slots show. Tests install their own so that nothing
// ever blocks on a modal window.
class MacroDialogs
{
public:
    virtual ~MacroDialogs() = default;
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter);
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QString &filter);
    virtual void warning(QWidget *parent, const QString &title, const QString &text);
};

// The macro files: one INI file "<name>.bin" per macro in one folder. Nothing is
// kept in memory; the folder is the state. A name that is empty, "." or "..",
// holds a path separator or a control character, or would lead out of the
// folder is refused and treated like a missing file.
class MacroStore : public QObject
{
    Q_OBJECT
public:
    explicit MacroStore(const QString &folder, QObject *parent = nullptr);

    QString folder() const { return dir; }

    // Path of the macro's file, or an empty string for a refused name.
    QString pathOf(const QString &name) const;
    static bool isSafeName(const QString &name);
    static QString defaultName(int number);

    bool exists(const QString &name) const;

    // File names ("x.bin") of the folder's macros, sorted ignoring case.
    QStringList names() const;
    // Creates an empty macro under the first free default name; "" on failure.
    QString create();
    bool remove(const QString &name);
    // Fails, touching neither file, when the target exists or a name is refused.
    bool rename(const QString &oldName, const QString &newName);
    // Replaces the steps. When the macro belongs to keyboard slot 0..16,
    // `resend(slot)` runs once the new steps are on disk.
    bool save(const QString &name, const QStringList &steps,
              const std::function<void(int slot)> &resend = {});
    QStringList load(const QString &name) const;
    // [index, repeat], or empty when the file is missing.
    QVariantList loadConfig(const QString &name) const;
    void setConfig(const QString &name, const QVariantList &config, uint deviceIndex);
    // Leaves exactly one macro per keyboard slot 0..maxMacro-1.
    void init(uchar maxMacro);
    // Replaces the macro's file by a copy of `source`; the old file stays when
    // the copy fails or the macro does not exist.
    bool importFrom(const QString &name, const QString &source);
    // Copies the macro's file to `target`, replacing what is there.
    bool exportTo(const QString &name, const QString &target);

    MacroDialogs *dialogs() const { return dialogsSeam; }
    // Not owned; nullptr restores the standard dialogs.
    void setDialogs(MacroDialogs *dialogs);

    // Keyboard slots whose macros are re-sent on save.
    static constexpr int kResendSlots = 17;
    // Bound on the steps read from one file, against absurd step counts.
    static constexpr int kMaxSteps = 65536;

private:
    bool createDefault(const QString &path, int index);

    QString dir;
    MacroDialogs *dialogsSeam;
};
