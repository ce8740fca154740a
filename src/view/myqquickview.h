#pragma once

#include "deviceowner.h"

#include <QList>
#include <QMap>
#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <array>

class Hid_Thread;
class MacroStore;
class QAudioOutput;
class QMediaPlayer;
class QSettings;

// The view that shows the UI documents and is published to them as ui_View.
// Every public slot is called by name from the documents; none of them reports
// an error: setters return nothing, getters fall back to empty values.
class myQQuickView : public QQuickWidget, public DeviceOwner
{
    Q_OBJECT
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    static constexpr int kMediaCount = 5;
    static constexpr int kMaxProfiles = 10;

    Hid_Thread *hid = nullptr;                          // not owned; set by the main window
    bool audioEnabled = true;
    std::array<QMediaPlayer *, kMediaCount> media{};   // 0 background music, 1..4 interface sounds
    QSettings *apConfig = nullptr;                      // owned
    QList<QSettings *> profiles;                        // owned; position = profile index
    uchar curProfile = 0;
    QStringList msgStrings;                             // msg/0..msg/3 of the language loaded last
    uchar kbLayoutType = 0;
    uchar maxMacro = 0;
    uchar maxProfile = 0;
    QMap<QString, uchar> usbCodeMap;                    // key name -> USB usage code

    // DeviceOwner
    QSettings *currentProfileSettings() override;
    void lightingChanged() override { zzzMorvel(); }

    // Called by the input capture; queued to the root document.
    void forwardKeyboardEvent(bool isDown, int usbCode);
    void forwardMouseEvent(bool isDown, uint code, uint x, uint y);

public slots:
    void syncFW();
    void syncLed();

    void initUI();
    void zzzMorvel();
    void runUI();

    void setEnableAudio(bool isEnable);
    void playMedia_Index(uchar index);
    void playMedia_Background();
    void clearAllMedia();
    void openUpdateExe();

    void saveApConfig(QVariantList apConfigs);
    QVariantList loadApConfig();
    void resetApconfig();

    QVariantList loadHWDef();
    QVariantList loadUsbStr();
    QVariantList loadUsbCode();

    bool getIsSkinShow();
    uchar getMaxProfile();

    void loadProfile(int profile);
    QVariant loadDefaultProfile(QString key);
    void saveProfile(int profile);
    void resetProfile(int profile);

    void loadMacroIniFromFile(QVariant name);
    void saveMacroIniToFile(QVariant name);
    void renameMacroIniFile(QVariant oldName, QVariant newName);

    QString getCustomFilePath();
    QVariantMap chkLanguages();
    QStringList getGlobalStrings(QString langCode);

    void initMacroIni(uchar maxMacro);
    QVariant createMacroIni();
    QVariant deleteMacroIni(QVariant name);
    QStringList getMacroIniNames();
    QVariant saveMacroIni(QVariant name, QStringList macros);
    QStringList loadMacroIni(QVariant name);
    QVariantList loadMacroIniConfig(QVariant name);
    void setMacroIniConfig(QVariant name, QVariantList config);

    QVariantList getKeydefine(QVariant matrixId);

    QList<uchar> macroIncode(QStringList macros);

    void ui_01H_SetReportRate(uchar rate);
    void ui_02H_SetKeyboardMode(uchar mode);
    void ui_04H_SetButtonSensitivity(uchar sens1);
    void ui_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                           uchar color, uchar bl0, uchar bl1);
    void ui_0C0DH_SetKeyMatrix(QVariantList src256);
    void ui_10H_SetMacroKey(QVariant macroId, QVariant name);
    void ui_12H_SetUserPicture(uchar index, uchar option, QVariantList src384);
    void ui_13H_SetRecoveryData();
    void ui_21H_SetCurrentProfile(int profile);
    void ui_30H_SetColor(QVariantList src21);
    QString ui_80H_GetFWVersion();
    QVariant ui_80H_GetHWMode();
    QVariant ui_81H_GetReportRate();
    QVariant ui_82H_GetKeyboardMode();
    QVariant ui_84H_GetButtonSensitivity();
    QVariantList ui_88H_GetLEDType();
    QVariantList ui_8C8DH_GetKeyMatrix();
    QVariantList ui_92H_GetUserPicture(uchar index);
    QVariant ui_A1H_GetCurrentProfile();
    QVariantList ui_B0H_GetColor();

    void setGlobalInt(QVariant key, QVariant tmpdata);
    QVariant getGlobalData(QVariant key);

    // QWidget::setEnabled made reachable from the UI documents.
    void setEnabled(bool enabled) { QWidget::setEnabled(enabled); }

private:
    // Replaces the settings object at `position` with one over the same file,
    // whose content becomes a copy of `source`. Keeps the old file when the copy fails.
    bool replaceProfile(int position, const QString &source);
    static QString profilePath(int index);
    static QString firmwareVersionText(ushort version);
    void queueRootCall(const char *function);
    void setupMedia();
    void readHardwareCommon();
    void rebuildUsbCodeMap();
    void openProfiles();
    QSettings *openSettings(const QString &path);

    QList<QAudioOutput *> audioOutputs;

public:
    MacroStore *macroStore = nullptr;   // macro files and encoder, owned by the macro code
};
