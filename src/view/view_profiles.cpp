// The profile files: one settings object per keyboard profile, and import,
// export and reset of their files.
#include "myqquickview.h"
#include "viewfiles.h"

#include <QSettings>
#include <QStandardPaths>

namespace {

const char kDefaultProfilePath[] = "./modules/setting/pD.bin";
const char kProfileFilter[] = "Profile(*.pf)";

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

QString myQQuickView::profilePath(int index)
{
    return QStringLiteral("./modules/setting/p") + QString::number(index + 1) + QStringLiteral(".bin");
}

void myQQuickView::openProfiles()
{
    for (int i = 0; i < maxProfile; ++i)
        profiles.append(openSettings(profilePath(i)));
}

// Pending stores of the old object are written to the old file first, so that
// nothing of it can reach the new file later; the old object then goes without
// writing. When the copy fails, the old file and object stay.
bool myQQuickView::replaceProfile(int position, const QString &source)
{
    if (position < 0 || position >= profiles.size())
        return false;
    QSettings *old = profiles.at(position);
    const QString path = old->fileName();
    old->sync();
    if (!viewfiles::copyReplacing(source, path))
        return false;
    delete old;
    profiles[position] = openSettings(path);
    return true;
}

void myQQuickView::loadProfile(int profile)
{
    if (profile < 0 || profile >= profiles.size())
        return;
    const QString source = viewfiles::Dialogs::openFile(this, QStringLiteral("Open File"), desktopFolder(),
                                                        QString::fromLatin1(kProfileFilter));
    if (source.isEmpty())
        return;
    replaceProfile(profile, source);
}

void myQQuickView::saveProfile(int profile)
{
    if (profile < 0 || profile >= profiles.size())
        return;
    const QString target = viewfiles::Dialogs::saveFile(this, QStringLiteral("Save File"), desktopFolder(),
                                                        QString::fromLatin1(kProfileFilter));
    if (target.isEmpty())
        return;
    // The export is a copy of the file on disk; write what is still pending first.
    profiles.at(profile)->sync();
    viewfiles::copyReplacing(profilePath(profile), target);
}

void myQQuickView::resetProfile(int profile)
{
    replaceProfile(profile, QString::fromLatin1(kDefaultProfilePath));
}

QVariant myQQuickView::loadDefaultProfile(QString key)
{
    return viewfiles::IniReader(QString::fromLatin1(kDefaultProfilePath)).value(key);
}
