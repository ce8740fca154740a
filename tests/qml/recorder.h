#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

// Stand-in for the core objects published to the documents (ui_View, ui_Ctl).
// Several core slots open file dialogs or start processes, so the documents are
// tested against this recorder: it logs every call as "name(arg,...)" and
// answers the getters with values a test sets beforehand.
class Recorder : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList calls MEMBER m_calls NOTIFY callsChanged)
    Q_PROPERTY(bool enabled MEMBER m_enabled NOTIFY enabledChanged)
    Q_PROPERTY(QString fwVersion MEMBER fwVersion)
    Q_PROPERTY(QVariantList apConfig MEMBER apConfig)
    Q_PROPERTY(QVariantMap languages MEMBER languages)
    Q_PROPERTY(QVariantMap strings MEMBER strings)
    Q_PROPERTY(QString customPath MEMBER customPath)
    Q_PROPERTY(QVariantList hwDef MEMBER hwDef)
    Q_PROPERTY(QVariantList usbStr MEMBER usbStr)
    Q_PROPERTY(QVariantList usbCode MEMBER usbCode)
    Q_PROPERTY(int maxProfile MEMBER maxProfile)
    Q_PROPERTY(int currentProfile MEMBER currentProfile)
    Q_PROPERTY(bool skinShow MEMBER skinShow)

public:
    QString fwVersion = QStringLiteral("01.02");
    QVariantList apConfig;
    QVariantMap languages;
    QVariantMap strings; // code -> list of strings
    QString customPath;
    QVariantList hwDef, usbStr, usbCode;
    int maxProfile = 4;
    int currentProfile = 0;
    bool skinShow = true;

    Q_INVOKABLE void reset()
    {
        Recorder fresh;
        fwVersion = fresh.fwVersion;
        apConfig.clear();
        languages.clear();
        strings.clear();
        customPath.clear();
        hwDef.clear();
        usbStr.clear();
        usbCode.clear();
        maxProfile = fresh.maxProfile;
        currentProfile = 0;
        skinShow = true;
        m_enabled = true;
        m_calls.clear();
        emit callsChanged();
        emit enabledChanged();
    }
    // Calls whose name starts with prefix, in order.
    Q_INVOKABLE QStringList callsOf(const QString &prefix) const
    {
        QStringList out;
        for (const QString &c : m_calls)
            if (c.startsWith(prefix))
                out << c;
        return out;
    }

public slots:
    // ui_Ctl
    void onMinimize() { log("onMinimize"); }
    void onXChanged(int x) { log("onXChanged", {x}); }
    void onYChanged(int y) { log("onYChanged", {y}); }
    void setBusy(int t) { log("setBusy", {t}); }

    // ui_View
    void setEnabled(bool e)
    {
        m_enabled = e;
        log("setEnabled", {e});
        emit enabledChanged();
    }
    void playMedia_Index(int i) { log("playMedia_Index", {i}); }
    void setEnableAudio(bool e) { log("setEnableAudio", {e}); }
    void clearAllMedia() { log("clearAllMedia"); }
    void openUpdateExe() { log("openUpdateExe"); }
    void saveApConfig(const QVariantList &list) { log("saveApConfig", list); }
    QVariantList loadApConfig() { log("loadApConfig"); return apConfig; }
    void resetApconfig() { log("resetApconfig"); }
    bool getIsSkinShow() { return skinShow; }
    QString getCustomFilePath() { log("getCustomFilePath"); return customPath; }
    QVariantMap chkLanguages() { log("chkLanguages"); return languages; }
    QStringList getGlobalStrings(const QString &code)
    {
        log("getGlobalStrings", {code});
        return strings.value(code).toStringList();
    }
    QVariantList loadHWDef() { return hwDef; }
    QVariantList loadUsbStr() { return usbStr; }
    QVariantList loadUsbCode() { return usbCode; }
    int getMaxProfile() { return maxProfile; }
    QVariant ui_A1H_GetCurrentProfile() { return currentProfile; }
    QString ui_80H_GetFWVersion() { log("ui_80H_GetFWVersion"); return fwVersion; }
    void syncLed() { log("syncLed"); }
    void ui_21H_SetCurrentProfile(int p) { log("ui_21H_SetCurrentProfile", {p}); }
    void loadProfile(int p) { log("loadProfile", {p}); }
    void saveProfile(int p) { log("saveProfile", {p}); }
    void resetProfile(int p) { log("resetProfile", {p}); }

signals:
    void callsChanged();
    void enabledChanged();

private:
    void log(const QString &name, const QVariantList &args = {})
    {
        QStringList parts;
        for (const QVariant &a : args)
            parts << a.toString();
        m_calls << name + "(" + parts.join(",") + ")";
        emit callsChanged();
    }
    QStringList m_calls;
    bool m_enabled = true;
};
