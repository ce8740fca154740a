import QtQuick
import "basic"
import "K3"

// Root of the UI: global look-and-feel values, skin image addresses, the scene
// and the entry points the core calls.
Item {
    id: mainIten
    width: 1000
    height: 600
    visible: false

    property int globalSetting_size: _Page_Globalsetting._Size
    property color globalSetting_color: _Page_Globalsetting._Color
    property color globalSetting_color_enable: _Page_Globalsetting._ColorEnable
    property color globalSetting_color_disable: _Page_Globalsetting._ColorDisable
    property int animation_speed: _Page_Globalsetting._AnimationSpeed
    property var globalSetting_stringList: _Page_Globalsetting._StringList
    property string globalSetting_fontFamily: _Page_Globalsetting._FontFamily
    property string globalSetting_url: _Page_Globalsetting._Url
    property int skin_No: _Page_Globalsetting.skin_No
    property bool isCustomBackground: _Page_Globalsetting.isCustomBackground
    property url sourceCustomBackground: ""

    // Skin images live in ./modules/img/skin<N>/, relative to the program folder.
    readonly property string skinFolder: "file:modules/img/skin" + skin_No + "/"
    property string sourceBackground: skinFolder + "background.png"
    property string sourceFrameBackground: skinFolder + "frame/frameBackground.png"
    property string sourceDecoration1: skinFolder + "frame/decoration1.png"
    property string sourceDecoration2: skinFolder + "frame/decoration2.png"
    property string sourceListUpContainer: skinFolder + "list_up/listUpContainer.png"
    property string sourceAS0: skinFolder + "list_up/applicationSetting_0.png"
    property string sourceAS1: skinFolder + "list_up/applicationSetting_1.png"
    property string sourceAM0: skinFolder + "list_up/applicationMinimize_0.png"
    property string sourceAM1: skinFolder + "list_up/applicationMinimize_1.png"
    property string sourceListDnContainer: skinFolder + "list_dn/listDnContainer.png"
    property string sourceListPfContainer: skinFolder + "list_pf/listPfContainer.png"
    property string sourceFW0: skinFolder + "list_pf/profileFW_0.png"
    property string sourceFW1: skinFolder + "list_pf/profileFW_1.png"
    property string sourceListFnBtn_0: skinFolder + "list_fn/listFnBtn_0.png"
    property string sourceListFnBtn_1: skinFolder + "list_fn/listFnBtn_1.png"
    property string sourceGlobalsettingBackground: skinFolder + "list_center/globalsettingBackground.png"
    property string sourceFnColorBackground: skinFolder + "list_center/fnColorBackground.png"
    property string sourceFnKeydefineBackground: skinFolder + "list_center/fnKeydefineBackground.png"
    property string sourceFnCommonBackground: skinFolder + "list_center/fnCommonBackground.png"
    property string sourceSlider: skinFolder + "common/slider_BASE.png"
    property string sourceSliderFiller0: skinFolder + "common/slider_FILLER_0.png"
    property string sourceSliderFiller1: skinFolder + "common/slider_FILLER_1.png"
    property string sourceCHK0: skinFolder + "common/checkbox_0.png"
    property string sourceCHK1: skinFolder + "common/checkbox_1.png"
    property string sourceLine: skinFolder + "common/draw_line.png"
    property string sourceInputValue: skinFolder + "common/draw_inputValue.png"
    property string sourcePaletteIndex: skinFolder + "common/draw_paletteIndex.png"
    property string sourcePalette: skinFolder + "common/draw_palette.png"
    property string sourceFram2btn: skinFolder + "common/fram_2btn.png"
    property string sourceReset0: skinFolder + "common/reset_0.png"
    property string sourceReset1: skinFolder + "common/reset_1.png"
    property string sourceApply0: skinFolder + "common/apply_0.png"
    property string sourceApply1: skinFolder + "common/apply_1.png"
    property string sourceMask: skinFolder + "common/mask.png"
    property string sourceFilelist: skinFolder + "common/filelist_BASE.png"
    property string sourceAdd0: skinFolder + "common/add_0.png"
    property string sourceAdd1: skinFolder + "common/add_1.png"
    property string sourceDelete0: skinFolder + "common/delete_0.png"
    property string sourceDelete1: skinFolder + "common/delete_1.png"
    property string sourceRecord0: skinFolder + "common/record_0.png"
    property string sourceRecord1: skinFolder + "common/record_1.png"
    property string sourceStop0: skinFolder + "common/stop_0.png"
    property string sourceStop1: skinFolder + "common/stop_1.png"
    property string sourceSolidDelete0: skinFolder + "common/solid-delete_0.png"
    property string sourceSolidDelete1: skinFolder + "common/solid-delete_1.png"
    property string sourceSolidCut0: skinFolder + "common/solid-cut_0.png"
    property string sourceSolidCut1: skinFolder + "common/solid-cut_1.png"
    property string sourceSolidPaste0: skinFolder + "common/solid-paste_0.png"
    property string sourceSolidPaste1: skinFolder + "common/solid-paste_1.png"
    property string sourceSolidCopy0: skinFolder + "common/solid-copy_0.png"
    property string sourceSolidCopy1: skinFolder + "common/solid-copy_1.png"
    property string sourceBtnFileListFrame: skinFolder + "common/btnFileListFrame.png"
    property string sourceBtnFrame: skinFolder + "common/btnFrame.png"

    signal msg_KB(bool isDown, int usbCode)

    function setProtectUI(interval) {
        var ms = Math.max(0, parseInt(interval, 10) || 0)
        protectUIItem.setBusy(true)
        ui_View.setEnabled(false)
        // The same interval keeps a running countdown; another one starts afresh.
        if (!tmrProtectUI.running || tmrProtectUI.interval !== ms) {
            tmrProtectUI.interval = ms
            tmrProtectUI.restart()
        }
    }
    function initUI() {
        _Page_Globalsetting.initUI()
        main_K3.initUI()
    }
    function zzzMorvel() { main_K3.zzzMorvel() }
    function run() { script0.restart() }
    function detectKeyboard(isDown, usbCode) { msg_KB(isDown, usbCode) }
    function detectMouse(isDown, tovoCode, x, y) {}
    function setSkin() {
        downItem.setSkin()
        main_K3.setSkin()
    }
    function translateStrings(code) {
        _Page_Globalsetting.translateStrings()
        main_K3.translateStrings(code)
    }

    MouseArea {
        id: dragRegion
        objectName: "dragRegion"
        property real clickPosX: 0
        property real clickPosY: 0
        anchors.fill: parent
        hoverEnabled: true
        onPressed: (mouse) => {
            clickPosX = mouse.x
            clickPosY = mouse.y
        }
        onPositionChanged: (mouse) => {
            if (!pressed)
                return
            ui_Ctl.onXChanged(mouse.x - clickPosX)
            ui_Ctl.onYChanged(mouse.y - clickPosY)
        }
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        z: 99
        anchors.centerIn: parent
    }

    Timer {
        id: tmrProtectUI
        objectName: "tmrProtectUI"
        interval: 1000
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            protectUIItem.setBusy(false)
        }
    }

    Environment { id: envItem; objectName: "envItem"; opacity: 0 }

    Main_K3 { id: main_K3; objectName: "main_K3"; x: 0; y: 0 }

    Environment_Decoration { id: envDecorationItem; objectName: "envDecorationItem"; opacity: 0 }

    Menu_Down {
        id: downItem
        objectName: "downItem"
        x: 0; y: 600
        enabled: !upItem.isGlobalSettingSelect
        opacity: 0.2 + 0.8 * (enabled ? 1 : 0)
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: 0; y: -600
        opacity: 0.2 + 0.8 * (enabled ? 1 : 0)
        onBtnClicked: (btnIndex) => {
            if (btnIndex === 0)
                isGlobalSettingSelect = !isGlobalSettingSelect
            else if (btnIndex === 1)
                scriptEnd.restart()
        }
        onIsGlobalSettingSelectChanged: {
            if (isGlobalSettingSelect)
                _fkGlobalsetting.show()
            else
                _fkGlobalsetting.close()
        }
    }

    Image {
        id: logoWeb_img
        objectName: "logoWeb_img"
        y: 270
        anchors.horizontalCenter: parent.horizontalCenter
        opacity: 0
        source: mainIten.skinFolder + (logoMa.containsMouse ? "frame/web_1.png" : "frame/web_0.png")
        MouseArea {
            id: logoMa
            anchors.fill: parent
            hoverEnabled: true
            onClicked: {
                ui_View.playMedia_Index(3)
                Qt.openUrlExternally(globalSetting_url)
            }
        }
    }

    Flickable {
        id: _fkGlobalsetting
        objectName: "_fkGlobalsetting"
        x: 5; y: 27
        width: 340; height: 420
        clip: true
        interactive: false
        visible: false
        boundsBehavior: Flickable.StopAtBounds
        contentWidth: _Page_Globalsetting.width
        contentHeight: _Page_Globalsetting.height
        contentX: width

        function show() {
            if (paGlobalsettingBack_X.running) {
                paGlobalsettingBack_X.complete()
                show()
            } else if (paGlobalsetting_X.running) {
                paGlobalsetting_X.complete()
            } else {
                visible = true
                paGlobalsetting_X.restart()
            }
        }
        function close() {
            if (paGlobalsettingBack_X.running) {
                paGlobalsettingBack_X.complete()
            } else if (paGlobalsetting_X.running) {
                paGlobalsetting_X.complete()
                close()
            } else {
                paGlobalsettingBack_X.restart()
            }
        }

        Page_Globalsetting { id: _Page_Globalsetting; objectName: "_Page_Globalsetting" }

        NumberAnimation {
            id: paGlobalsetting_X
            target: _fkGlobalsetting; property: "contentX"
            from: 340; to: 0
            easing.type: Easing.OutCubic
            duration: animation_speed * 0.8
        }
        NumberAnimation {
            id: paGlobalsettingBack_X
            target: _fkGlobalsetting; property: "contentX"
            from: 0; to: 340
            easing.type: Easing.OutCubic
            duration: animation_speed * 0.8
            onStopped: _fkGlobalsetting.visible = false
        }
    }

    SequentialAnimation {
        id: script0
        ScriptAction {
            script: {
                ui_View.playMedia_Index(1)
                mainIten.visible = true
            }
        }
        NumberAnimation {
            target: logoWeb_img; property: "opacity"
            from: 0.0; to: 1.0
            easing.type: Easing.InCirc
            duration: animation_speed
        }
        NumberAnimation {
            target: logoWeb_img; property: "y"
            from: 270; to: 4
            easing.type: Easing.OutExpo
            duration: animation_speed * 1.5
        }
        ParallelAnimation {
            NumberAnimation {
                target: envItem; property: "opacity"
                from: 0.0; to: 1.0
                easing.type: Easing.OutCirc
                duration: animation_speed
            }
            NumberAnimation {
                target: envDecorationItem; property: "opacity"
                from: 0.0; to: 1.0
                easing.type: Easing.OutCirc
                duration: animation_speed
            }
        }
        onFinished: {
            script1.restart()
            main_K3.playOnPowerOn()
        }
    }

    ParallelAnimation {
        id: script1
        NumberAnimation {
            target: upItem; property: "y"
            from: -600; to: 0
            easing.type: Easing.OutElastic
            duration: animation_speed
        }
        NumberAnimation {
            target: downItem; property: "y"
            from: 600; to: 600 - downItem.height
            easing.type: Easing.OutElastic
            duration: animation_speed
        }
    }

    NumberAnimation {
        id: scriptEnd
        target: mainIten; property: "height"
        from: 600; to: 0
        easing.type: Easing.InOutCubic
        duration: animation_speed
        onFinished: ui_Ctl.onMinimize()
    }
}
