// Application configuration, skins, the background picture and the languages.
#include "myqquickview.h"
#include "languagenames.h"
#include "viewfiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

using viewfiles::IniReader;

namespace {

const char kApConfigPath[] = "./modules/setting/apConfig.bin";
const char kApConfigDefaultPath[] = "./modules/setting/apConfigD.bin";
const char kLanguageFolder[] = "./modules/i18n/";
const char kSkinFolder[] = "./modules/img";
constexpr int kMessageCount = 4;

// Shown when the picture warning comes before any language was loaded.
const char kPictureWarningTitle[] = "Background picture";
const char kPictureWarningText[] = "The picture cannot be opened: ";

bool isLanguageCode(const QString &code)
{
    static const QRegularExpression sixDigits(QStringLiteral("^[0-9]{6}$"));
    return sixDigits.match(code).hasMatch();
}

QString languageDisplayName(int language, int country)
{
    QString name = languagenames::language(language).toUpper();
    if (country == 44)
        name += QStringLiteral(" (Simp)");
    else if (country == 208)
        name += QStringLiteral(" (Trad)");
    else if (country != 0)
        name += QStringLiteral(" (") + languagenames::country(country).toUpper() + QLatin1Char(')');
    return name;
}

} // namespace

void myQQuickView::saveApConfig(QVariantList apConfigs)
{
    if (!apConfig)
        return;
    apConfig->setValue(QStringLiteral("common/total"), int(apConfigs.size()));
    for (int i = 0; i < apConfigs.size(); ++i)
        apConfig->setValue(QStringLiteral("common/") + QString::number(i), apConfigs.at(i));
}

QVariantList myQQuickView::loadApConfig()
{
    if (!apConfig)
        return {};
    const int total = viewfiles::toCount(apConfig->value(QStringLiteral("common/total")));
    QVariantList result;
    result.reserve(total);
    for (int i = 0; i < total; ++i)
        result.append(apConfig->value(QStringLiteral("common/") + QString::number(i), 0));
    return result;
}

// Same pattern as a profile reset: pending writes go to the old file, which is
// replaced only when the default was copied completely.
void myQQuickView::resetApconfig()
{
    const QString path = apConfig ? apConfig->fileName() : QString::fromLatin1(kApConfigPath);
    if (apConfig)
        apConfig->sync();
    if (!viewfiles::copyReplacing(QString::fromLatin1(kApConfigDefaultPath), path))
        return;
    delete apConfig;
    apConfig = openSettings(QString::fromLatin1(kApConfigPath));
}

void myQQuickView::setGlobalInt(QVariant key, QVariant tmpdata)
{
    const QString name = key.toString();
    if (apConfig && !name.isEmpty())
        apConfig->setValue(name, tmpdata);
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    const QString name = key.toString();
    if (!apConfig || name.isEmpty())
        return {};
    return apConfig->value(name);
}

bool myQQuickView::getIsSkinShow()
{
    return QDir(QString::fromLatin1(kSkinFolder)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size() > 1;
}

QString myQQuickView::getCustomFilePath()
{
    const QString path = viewfiles::Dialogs::openFile(
        this, QStringLiteral("Open File"),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
        QStringLiteral("Image Files(*.png)"));
    if (path.isEmpty())
        return QString();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        file.close();
        return path;
    }
    const bool haveTexts = msgStrings.size() >= kMessageCount;
    const QString title = haveTexts ? msgStrings.at(2) : QString::fromLatin1(kPictureWarningTitle);
    const QString text = haveTexts ? msgStrings.at(3) : QString::fromLatin1(kPictureWarningText);
    viewfiles::Dialogs::warning(title, QStringLiteral("%1%2").arg(text, path));
    return QString();
}

// Display name -> code; the map's order (by display name) is the order of the
// language menu, to which the stored language position refers.
QVariantMap myQQuickView::chkLanguages()
{
    // Exactly the names that getGlobalStrings opens.
    static const QRegularExpression fileName(QStringLiteral("^lang_([0-9]{6})\\.ini$"));
    QVariantMap result;
    const QStringList entries = QDir(QString::fromLatin1(kLanguageFolder))
        .entryList({QStringLiteral("lang_*.ini")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &entry : entries) {
        const QRegularExpressionMatch match = fileName.match(entry);
        if (!match.hasMatch())
            continue;
        const QString code = match.captured(1);
        const int language = code.left(3).toInt();
        const int country = code.right(3).toInt();
        result.insert(languageDisplayName(language, country), code);
    }
    return result;
}

QStringList myQQuickView::getGlobalStrings(QString langCode)
{
    // Only a code as chkLanguages gives it may form a file name.
    const QString path = isLanguageCode(langCode)
        ? QString::fromLatin1(kLanguageFolder) + QStringLiteral("lang_") + langCode + QStringLiteral(".ini")
        : QString();
    const IniReader ini(path);
    QStringList result{ini.text(QStringLiteral("font/family"))};
    const int total = ini.count(QStringLiteral("font/total"));
    for (int k = 1; k <= total; ++k)
        result.append(ini.text(QStringLiteral("strings/") + QString::number(k)));
    msgStrings.clear();
    for (int i = 0; i < kMessageCount; ++i)
        msgStrings.append(ini.text(QStringLiteral("msg/") + QString::number(i)));
    return result;
}
