import QtQuick

// The keyboard's part of the scene: the sliding page frame, the function menu
// and the profile menu.
Item {
    id: mainItem_K3
    width: 1000
    height: 600

    property int lastPressKeyCode: 0
    property var _HWDef: []
    property var _UsbStr: []
    property var _UsbCode: []
    property int _MaxProfile: 0
    signal msg_KB(bool isDown, int usbCode)

    function initUI() {
        _HWDef = ui_View.loadHWDef()
        _UsbStr = ui_View.loadUsbStr()
        _UsbCode = ui_View.loadUsbCode()
        _MaxProfile = ui_View.getMaxProfile()
        _KeyCodeString.initUI(_HWDef, _UsbStr, _UsbCode)
        pfItem.initProfile(_MaxProfile)
        pfItem.currentIndex = ui_View.ui_A1H_GetCurrentProfile()
        _Page_Keydefine.initUI(true, _HWDef)
        _Page_Macro.initUI()
        ui_View.syncLed()
        _Page_Color.initUI(true, _HWDef)
        _Page_BackLighting.initUI()
    }
    function zzzMorvel() {
        _Page_Color.initUI()
        _Page_BackLighting.initUI()
        _Page_Color.playEffect(_Page_Color.visible)
    }
    function playOnPowerOn() {
        if (!script_PowerOn.running)
            script_PowerOn.start()
    }
    function setSkin() { fnItem.setSkin() }
    function translateStrings(code) {
        _Page_Keydefine.translateStrings()
        _Page_Macro.translateStrings()
        _Page_Color.translateStrings()
        _Page_BackLighting.translateStrings()
        fnItem.translateStrings()
        pfItem.translateStrings()
    }

    KeyCodeString { id: _KeyCodeString; objectName: "_KeyCodeString" }

    // Silent unless enabled with QT_LOGGING_RULES="k3.ui.info=true"; the start-up
    // benchmark waits for the line that marks the end of the opening animation.
    LoggingCategory { id: uiLog; name: "k3.ui"; defaultLogLevel: LoggingCategory.Warning }

    Connections {
        target: mainIten
        function onMsg_KB(isDown, usbCode) {
            if (isDown)
                mainItem_K3.lastPressKeyCode = usbCode
            mainItem_K3.msg_KB(isDown, usbCode)
        }
    }

    Flickable {
        id: _fkPage
        objectName: "_fkPage"
        property int curID: 0
        x: 171; y: 96
        width: 759; height: 442
        clip: true
        interactive: false
        visible: false
        boundsBehavior: Flickable.StopAtBounds
        contentWidth: width
        contentHeight: height
        enabled: !upItem.isGlobalSettingSelect
        opacity: 0.2 + 0.8 * (enabled ? 1 : 0)

        function show(index) {
            ui_View.playMedia_Index(2)
            if (paBack_X.running) {
                paBack_X.tmpIndex = index
                paBack_X.complete()
            } else if (pa_X.running) {
                curID = index
                pa_X.complete()
            } else if (index < 0) {
                paBack_X.tmpIndex = index
                paBack_X.restart()
            } else if (paBack_X.tmpIndex < 0) {
                paBack_X.tmpIndex = index
                curID = index
                pa_X.restart()
            } else {
                paBack_X.tmpIndex = index
                paBack_X.restart()
            }
        }

        Page_Keydefine { id: _Page_Keydefine; objectName: "_Page_Keydefine"; x: 0; y: 0; visible: _fkPage.curID === 0 }
        Page_Macro { id: _Page_Macro; objectName: "_Page_Macro"; x: 0; y: 46; visible: _fkPage.curID === 1 }
        Page_Color { id: _Page_Color; objectName: "_Page_Color"; x: 0; y: 0; visible: _fkPage.curID === 2 }
        Page_BackLighting { id: _Page_BackLighting; objectName: "_Page_BackLighting"; x: 0; y: 46; visible: _fkPage.curID === 3 }
    }

    NumberAnimation {
        id: pa_X
        objectName: "pa_X"
        target: _fkPage; property: "contentX"
        from: -2 * 759; to: 0
        easing.type: Easing.OutCubic
        duration: animation_speed * 0.5
    }
    NumberAnimation {
        id: paBack_X
        objectName: "paBack_X"
        property int tmpIndex: -1
        target: _fkPage; property: "contentX"
        from: 0; to: -2 * 759
        easing.type: Easing.InCubic
        duration: animation_speed * 0.5
        onStopped: {
            _fkPage.curID = tmpIndex
            if (tmpIndex >= 0)
                pa_X.restart()
        }
    }

    Menu_Func {
        id: fnItem
        objectName: "fnItem"
        x: 8; y: 180
        visible: false
        currentIndex: -1
        enabled: !upItem.isGlobalSettingSelect
        opacity: 0.2 + 0.8 * (enabled ? 1 : 0)
        onIndexChanged_btn: (currentIndex) => _fkPage.show(currentIndex)
    }

    Menu_Prof {
        id: pfItem
        objectName: "pfItem"
        x: 1000 - width - 8; y: 95
        visible: false
        enabled: !upItem.isGlobalSettingSelect
        opacity: 0.2 + 0.8 * (enabled ? 1 : 0)
        onIndexChanged_btn: (currentIndex) => {
            ui_View.ui_21H_SetCurrentProfile(currentIndex)
            _Page_Keydefine.initUI()
            ui_View.syncLed()
            _Page_Color.initUI()
            _Page_BackLighting.initUI()
        }
    }

    SequentialAnimation {
        id: script_PowerOn
        ScriptAction {
            script: {
                pfItem.x = 1000
                fnItem.x = -150
                pfItem.visible = true
                fnItem.visible = true
            }
        }
        ParallelAnimation {
            NumberAnimation {
                target: pfItem; property: "x"
                from: 1000; to: 1000 - pfItem.width - 8
                easing.type: Easing.OutElastic
                duration: animation_speed
            }
            NumberAnimation {
                target: fnItem; property: "x"
                from: -150; to: 8
                easing.type: Easing.OutElastic
                duration: animation_speed
            }
        }
        onFinished: {
            _fkPage.visible = true
            _fkPage.curID = fnItem.currentIndex
            pa_X.restart()
            console.info(uiLog, "opening animation finished")
        }
    }
}
