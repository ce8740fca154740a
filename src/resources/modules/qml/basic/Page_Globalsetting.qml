import QtQuick
import "../common"

// Application settings panel: skin, sounds, animations, language, background
// picture and the look of the UI text. Owns the global UI values the root binds to.
Item {
    id: gsPage
    width: 340
    height: 420

    property int _Size: 11
    property color _Color: "#FF00FFFF"
    property color _ColorEnable: "#FFAAAAAA"
    property color _ColorDisable: "#80FFFFFF"
    property int _AnimationSpeed: 800
    property int skin_No: 1
    property bool isCustomBackground: false
    property string _FontFamily: "Arial"
    property string _Url: "https://www.example.com/"
    property var _StringList: builtInStrings

    readonly property var builtInStrings: [
        "Arial",
        "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",
        "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5",
        "STATIC", "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE",
        "INDUCTION BRIGHTEN", "NEON", "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE",
        "SPOTLIGHT", "ROTATION",
        "SKIN", "SOUND", "ANIMATED", "LANGUAGE", "BACKGROUND", "ON", "OFF", "TEXT", "SIZE",
        "COLOR", "BRIGHTNESS", "NORMAL", "LARGER", "SKIN 1", "SKIN 2", "SKIN 3", "SKIN 4",
        "SKIN 5",
        "MACRO", "ACTION",
        "KEYBOARD", "MOUSE", "MEDIA", "COMBO KEY", "MACRO", "LEFT", "RIGHT", "MIDDLE", "B4",
        "B5", "NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP",
        "VOLUME DOWN", "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH",
        "WWW HOME", "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES",
        "KEY", "MACRO", "COLOR",
        "RESET", "CANCEL",
        "GAMING MODE",
        "DELETE", "CUT", "PASTE", "COPY", "LOAD", "SAVE",
        "SENSOR",
        "LED POWER ON", "TWINKLING", "GLIDING", "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO",
        "FIRE KEY", "TRIPLE CLICK", "DPI SWITCH", "NORMAL PLAY", "TIMES", "ALWAYS REPEAT",
        "REPEAT ON PRESSED",
        "POLLING RATE", "CURSOR SPEED", "VERTICAL SCROLL SPEED", "DOUBLE CLICK SPEED",
        "DPI LEVEL", "DPI INDICATOR LED",
        "DEFAULT", "APPLY", "SCROLL SWAP", "SCROLL UP", "SCROLL DOWN", "UPDATE KEYBOARD",
        "RENAME", "ALL RESET", "ALL SAVE"
    ]

    function toInt(v) {
        var n = parseInt(v, 10)
        return isNaN(n) ? 0 : n
    }
    function toBool(v) { return v === true || v === "true" || toInt(v) === 1 }
    function hex2(v) { var s = Number(v).toString(16).toUpperCase(); return s.length < 2 ? "0" + s : s }
    function colorOf(r, g, b) { return "#" + hex2(r) + hex2(g) + hex2(b) }
    function textColor(r, g, b) {
        return Qt.rgba(r / 255, g / 255, b / 255, brightness_Slider.value / 255)
    }
    function brightnessOf(level) { return 45 + level * 210 / 7 }

    function initUI() {
        var c = ui_View.loadApConfig()
        if (c && c.length > 0) {
            skin_No = Math.max(1, toInt(c[1]))
            _skin.setCurIndex(skin_No - 1)
            mainIten.setSkin()

            var sound = toInt(c[2])
            if (sound === 0)
                ui_View.setEnableAudio(true)
            else if (sound === 1)
                ui_View.setEnableAudio(false)
            _sound.setCurIndex(sound)

            var anim = toInt(c[3])
            if (anim === 0)
                _AnimationSpeed = 800
            else if (anim === 1)
                _AnimationSpeed = 10
            _animated.setCurIndex(anim)

            initLanguage()
            // A stored language position beyond the installed languages falls back
            // to the first one, so the rest of the configuration still applies.
            var lang = toInt(c[4])
            if (lang < 0 || lang >= md_language.count)
                lang = 0
            if (md_language.count > 0) {
                _language.setCurIndex(lang)
                setLanguage(lang)
            }

            isCustomBackground = toBool(c[5])
            _background.isOn = isCustomBackground
            mainIten.sourceCustomBackground = (c[6] === undefined || c[6] === 0) ? "" : String(c[6])

            var size = toInt(c[7])
            if (size === 0)
                _Size = 11
            else if (size === 1)
                _Size = 12
            _TextSize_CHK.currentIndex = size

            for (var i = 0; i < 7; ++i) {
                modColorIndex.setProperty(i, "clrR", toInt(c[8 + 3 * i]))
                modColorIndex.setProperty(i, "clrG", toInt(c[9 + 3 * i]))
                modColorIndex.setProperty(i, "clrB", toInt(c[10 + 3 * i]))
            }

            var ci = toInt(c[29])
            if (ci < 0 || ci >= modColorIndex.count)
                ci = 0
            lvColorIndex.currentIndex = ci
            var e = modColorIndex.get(ci)
            _Palette.setRGB(3, e.clrR, e.clrG, e.clrB)

            var level = Math.max(0, Math.min(7, toInt(c[30])))
            brightness_Slider.value = brightnessOf(level)
            _Color = textColor(_Palette._R, _Palette._G, _Palette._B)
            brightness_Slider.setCurIndex(level)

            if (c[31] !== undefined && String(c[31]) !== "" && String(c[31]) !== "0")
                _Url = String(c[31])
        }
        _skin.visible = ui_View.getIsSkinShow()
    }

    function initLanguage() {
        md_language.clear()
        var langs = ui_View.chkLanguages()
        for (var name in langs)
            md_language.append({ "textX": name, "code": String(langs[name]), "textR": "" })
    }

    function setLanguage(uiIndex) {
        if (uiIndex < 0 || uiIndex >= md_language.count)
            return
        var code = md_language.get(uiIndex).code
        var got = ui_View.getGlobalStrings(code)
        // Entries a language file leaves out keep their built-in text.
        var list = []
        for (var k = 0; k < builtInStrings.length || k < got.length; ++k) {
            var s = k < got.length ? got[k] : undefined
            list.push((s === undefined || s === "") && k < builtInStrings.length ? builtInStrings[k] : String(s))
        }
        _StringList = list
        mainIten.translateStrings(code)
        _FontFamily = _StringList[0]
    }

    function translateStrings() {
        md_skin.setProperty(0, "textX", _StringList[39])
        md_skin.setProperty(1, "textX", _StringList[40])
        md_sound.setProperty(0, "textX", _StringList[31])
        md_sound.setProperty(1, "textX", _StringList[32])
        md_animated.setProperty(0, "textX", _StringList[31])
        md_animated.setProperty(1, "textX", _StringList[32])
    }

    function resetApconfig() {
        _sound.runSoundIndex(1)
        ui_View.resetApconfig()
        initUI()
        ui_View.playMedia_Index(0)
    }

    // The 32-value configuration list that apply saves.
    function configList() {
        var list = [1, skin_No, _sound.getCurIndex(), _animated.getCurIndex(), _language.getCurIndex(),
                    isCustomBackground, String(mainIten.sourceCustomBackground), _TextSize_CHK.currentIndex]
        for (var i = 0; i < modColorIndex.count; ++i) {
            var e = modColorIndex.get(i)
            list.push(e.clrR, e.clrG, e.clrB)
        }
        list.push(lvColorIndex.currentIndex, brightness_Slider.getCurIndex(), _Url)
        return list
    }

    function apply() {
        // Commit a value still being typed before it is saved.
        gsPage.forceActiveFocus()
        ui_View.saveApConfig(configList())
        upItem.isGlobalSettingSelect = false
    }

    function toggleBackground() {
        if (!_background.isOn) {
            var path = ui_View.getCustomFilePath()
            if (path !== "") {
                mainIten.sourceCustomBackground = "file:" + path
                _background.isOn = true
            } else {
                mainIten.sourceCustomBackground = ""
            }
        } else {
            mainIten.sourceCustomBackground = ""
            _background.isOn = false
        }
        isCustomBackground = _background.isOn
    }

    // Colour of a press at pos along the rainbow of length len.
    function rainbowColor(pos, len) {
        var rate = pos / (len - 1) / 0.125
        var level = Math.floor(rate)
        var F = Math.floor((rate - level) * 255 + 0.5)
        switch (level) {
        case 0: return [F, 0, 0]
        case 1: return [255, F, 0]
        case 2: return [255 - F, 255, 0]
        case 3: return [0, 255, F]
        case 4: return [0, 255 - F, 255]
        case 5: return [F, 0, 255]
        case 6: return [255, F, 255]
        case 7: return [255 - F, 255 - F, 255 - F]
        default: return [0, 0, 0]
        }
    }

    ListModel {
        id: md_skin
        ListElement { textX: "SKIN 1" }
        ListElement { textX: "SKIN 2" }
    }
    ListModel {
        id: md_sound
        ListElement { textX: "ON" }
        ListElement { textX: "OFF" }
    }
    ListModel {
        id: md_animated
        ListElement { textX: "ON" }
        ListElement { textX: "OFF" }
    }
    ListModel { id: md_language }
    ListModel {
        id: modColorIndex
        ListElement { clrR: 0; clrG: 255; clrB: 255 }
        ListElement { clrR: 255; clrG: 200; clrB: 150 }
        ListElement { clrR: 255; clrG: 180; clrB: 0 }
        ListElement { clrR: 200; clrG: 200; clrB: 100 }
        ListElement { clrR: 200; clrG: 170; clrB: 255 }
        ListElement { clrR: 255; clrG: 180; clrB: 180 }
        ListElement { clrR: 160; clrG: 190; clrB: 160 }
    }
    ListModel {
        id: modRGBvalue
        ListElement { textL: "R "; valueX: 255 }
        ListElement { textL: "G "; valueX: 255 }
        ListElement { textL: "B "; valueX: 255 }
    }

    component Label: Text {
        font.family: globalSetting_fontFamily
        font.bold: true
        font.pixelSize: globalSetting_size
        color: globalSetting_color
    }
    component BoxLabel: Label {
        property Item target
        anchors.right: parent.right; anchors.rightMargin: 185
        anchors.verticalCenter: target.verticalCenter
    }
    component Choice: DropdownList {
        property bool isListOpened: false
        x: 139
        z: (isListOpened ? 1 : 0) + (focus ? 1 : 0)
        onListOpened: { isListOpened = true; focus = true }
        onListClosed: { isListOpened = false; focus = false }
    }

    Image {
        id: _sourceBG
        source: sourceGlobalsettingBackground

        Choice {
            id: _skin
            objectName: "_skin"
            y: visible ? 22 : 11
            mdItems: md_skin
            onListElementClicked: (index) => {
                skin_No = index + 1
                mainIten.setSkin()
            }
        }
        Choice {
            id: _sound
            objectName: "_sound"
            y: _skin.y + _skin.height + 10
            mdItems: md_sound
            function runSoundIndex(index) {
                if (index === 0) {
                    ui_View.setEnableAudio(true)
                    ui_View.playMedia_Index(0)
                } else if (index === 1) {
                    ui_View.setEnableAudio(false)
                    ui_View.clearAllMedia()
                }
            }
            onListElementClicked: (index) => runSoundIndex(index)
        }
        Choice {
            id: _animated
            objectName: "_animated"
            y: _sound.y + _sound.height + 10
            mdItems: md_animated
            onListElementClicked: (index) => { _AnimationSpeed = index === 0 ? 800 : 10 }
        }
        Choice {
            id: _language
            objectName: "_language"
            y: _animated.y + _animated.height + 10
            mdItems: md_language
            onListElementClicked: (index) => setLanguage(index)
        }
        Rectangle {
            id: _background
            objectName: "_background"
            property bool isOn: false
            x: 139
            y: _language.y + _language.height + 10
            width: bgImg.implicitWidth
            height: bgImg.implicitHeight
            color: "#FF000000"
            Image { id: bgImg; source: sourceSlider }
            Text {
                anchors.left: parent.left; anchors.leftMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                text: "\u3010 " + globalSetting_stringList[_background.isOn ? 31 : 32] + " \u3011"
                font.family: globalSetting_fontFamily
                font.bold: true
                font.pixelSize: globalSetting_size
                color: bgMa.containsMouse ? globalSetting_color : globalSetting_color_enable
            }
            MouseArea {
                id: bgMa
                anchors.fill: parent
                hoverEnabled: true
                onClicked: gsPage.toggleBackground()
            }
        }

        Label {
            visible: _skin.visible
            anchors.right: _skin.left; anchors.rightMargin: 20
            anchors.verticalCenter: _skin.verticalCenter
            text: globalSetting_stringList[26]
        }
        Label {
            anchors.right: _sound.left; anchors.rightMargin: 20
            anchors.verticalCenter: _sound.verticalCenter
            text: globalSetting_stringList[27]
        }
        Label {
            anchors.right: _animated.left; anchors.rightMargin: 20
            anchors.verticalCenter: _animated.verticalCenter
            text: globalSetting_stringList[28]
        }
        Label {
            anchors.right: _language.left; anchors.rightMargin: 20
            anchors.verticalCenter: _language.verticalCenter
            text: globalSetting_stringList[29]
        }
        Label {
            anchors.right: _background.left; anchors.rightMargin: 20
            anchors.verticalCenter: _background.verticalCenter
            text: globalSetting_stringList[30]
        }

        Item {
            id: _textSettingBox
            x: 27; y: 190
            width: 270; height: 176

            Image { source: sourceLine; x: 0; y: 0; width: 270; height: 1 }
            Image { source: sourceLine; x: 0; y: 19; width: 270; height: 1 }
            Image { source: sourceLine; x: 0; y: 175; width: 270; height: 1 }
            Image { source: sourceLine; x: 0; y: 0; width: 1; height: 176 }
            Image { source: sourceLine; x: 269; y: 0; width: 1; height: 176 }
            Label { x: 6; y: 3; text: globalSetting_stringList[33] }

            BoxLabel { target: _TextSize_CHK; text: globalSetting_stringList[34] }
            BoxLabel { target: _PaletteIndex; text: globalSetting_stringList[35] }
            BoxLabel { target: brightness_Slider; text: globalSetting_stringList[36] }

            // Long translations of the two choices shrink to stay inside the box.
            TextMetrics {
                id: chkMetrics
                font.family: globalSetting_fontFamily
                font.bold: true
                font.pixelSize: globalSetting_size
                text: globalSetting_stringList[37] + globalSetting_stringList[38]
            }
            Image { id: chkProbe; source: sourceCHK0; visible: false }
            Row {
                id: _TextSize_CHK
                objectName: "_TextSize_CHK"
                property int currentIndex: 0
                readonly property real labelRoom: _textSettingBox.width - x - 6 - spacing - 2 * (chkProbe.implicitWidth + 3)
                readonly property int labelSize: chkMetrics.advanceWidth <= labelRoom ? globalSetting_size
                    : Math.max(7, Math.floor(globalSetting_size * labelRoom / chkMetrics.advanceWidth))
                x: 96; y: 25
                spacing: 15
                Repeater {
                    model: [{ "name": "_CHK1_Item", "value": 11, "str": 37 },
                            { "name": "_CHK2_Item", "value": 12, "str": 38 }]
                    Row {
                        id: chk
                        required property int index
                        required property var modelData
                        objectName: modelData.name
                        spacing: 3
                        Image {
                            source: (chkMa.containsMouse || _TextSize_CHK.currentIndex === chk.index)
                                    ? sourceCHK1 : sourceCHK0
                            MouseArea {
                                id: chkMa
                                anchors.fill: parent
                                hoverEnabled: true
                                onClicked: {
                                    _TextSize_CHK.currentIndex = chk.index
                                    _Size = chk.modelData.value
                                }
                            }
                        }
                        Label {
                            anchors.verticalCenter: parent.verticalCenter
                            font.pixelSize: _TextSize_CHK.labelSize
                            text: globalSetting_stringList[chk.modelData.str]
                        }
                    }
                }
            }

            Image {
                id: _PaletteIndex
                x: 100; y: 55
                width: 145
                source: sourcePaletteIndex
                ListView {
                    id: lvColorIndex
                    objectName: "lvColorIndex"
                    signal btnClick_ColorIndex(int index)
                    function setCurIndexColor(r, g, b) {
                        if (currentIndex >= 0 && currentIndex < 7) {
                            modColorIndex.setProperty(currentIndex, "clrR", r)
                            modColorIndex.setProperty(currentIndex, "clrG", g)
                            modColorIndex.setProperty(currentIndex, "clrB", b)
                        }
                    }
                    anchors.fill: parent
                    orientation: ListView.Horizontal
                    spacing: 2
                    interactive: false
                    currentIndex: 0
                    model: modColorIndex
                    onBtnClick_ColorIndex: (index) => {
                        var e = modColorIndex.get(index)
                        _Palette.setRGB(3, e.clrR, e.clrG, e.clrB)
                    }
                    delegate: Item {
                        id: swatchItem
                        required property int index
                        required property int clrR
                        required property int clrG
                        required property int clrB
                        width: 19; height: 31
                        Rectangle {
                            width: 19; height: 3
                            color: globalSetting_color
                            visible: lvColorIndex.currentIndex === swatchItem.index
                        }
                        Rectangle {
                            id: swatch
                            width: 15; height: 15
                            y: 10
                            anchors.horizontalCenter: parent.horizontalCenter
                            color: gsPage.colorOf(swatchItem.clrR, swatchItem.clrG, swatchItem.clrB)
                            Rectangle {
                                x: -2; y: -2
                                width: 18; height: 18
                                color: "transparent"
                                border.color: globalSetting_color
                                border.width: swMa.containsMouse ? 1 : 0
                            }
                        }
                        MouseArea {
                            id: swMa
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: {
                                lvColorIndex.currentIndex = swatchItem.index
                                lvColorIndex.btnClick_ColorIndex(swatchItem.index)
                            }
                        }
                    }
                }
            }

            Item {
                id: _Palette
                objectName: "_Palette"
                property int _R: 255
                property int _G: 255
                property int _B: 255
                function setRGB(index, r, g, b) {
                    r = gsPage.toInt(r); g = gsPage.toInt(g); b = gsPage.toInt(b)
                    if (index === 1) {
                        setFields(r, g, b)
                        lvColorIndex.setCurIndexColor(r, g, b)
                        _Color = gsPage.textColor(r, g, b)
                    } else if (index === 2) {
                        lvColorIndex.setCurIndexColor(r, g, b)
                        _Color = gsPage.textColor(r, g, b)
                    } else if (index === 3) {
                        setFields(r, g, b)
                        _Color = gsPage.textColor(r, g, b)
                    } else {
                        setFields(r, g, b)
                        lvColorIndex.setCurIndexColor(r, g, b)
                    }
                    _R = r; _G = g; _B = b
                }
                function setFields(r, g, b) {
                    modRGBvalue.setProperty(0, "valueX", r)
                    modRGBvalue.setProperty(1, "valueX", g)
                    modRGBvalue.setProperty(2, "valueX", b)
                }
                anchors.left: _PaletteIndex.left
                anchors.top: _PaletteIndex.bottom; anchors.topMargin: 5
                width: _Palette_IMG.width + 10 + lvRGBvalue.width
                height: Math.max(_Palette_IMG.height, lvRGBvalue.height)

                Image {
                    id: _Palette_IMG
                    objectName: "_Palette_IMG"
                    width: 96
                    anchors.verticalCenter: parent.verticalCenter
                    source: sourcePalette
                    Rectangle {
                        id: rainbow
                        objectName: "rainbow"
                        anchors.fill: parent
                        gradient: Gradient {
                            orientation: Gradient.Horizontal
                            GradientStop { position: 0.0; color: "#000000" }
                            GradientStop { position: 0.125; color: "#FF0000" }
                            GradientStop { position: 0.25; color: "#FFFF00" }
                            GradientStop { position: 0.375; color: "#00FF00" }
                            GradientStop { position: 0.5; color: "#00FFFF" }
                            GradientStop { position: 0.625; color: "#0000FF" }
                            GradientStop { position: 0.75; color: "#FF00FF" }
                            GradientStop { position: 0.875; color: "#FFFFFF" }
                            GradientStop { position: 1.0; color: "#000000" }
                        }
                        MouseArea {
                            anchors.fill: parent
                            onPressed: (mouse) => {
                                var c = gsPage.rainbowColor(mouse.x, rainbow.width)
                                _Palette.setRGB(1, c[0], c[1], c[2])
                            }
                        }
                    }
                }
                ListView {
                    id: lvRGBvalue
                    objectName: "_Palette_TEXTinput"
                    x: _Palette_IMG.width + 10
                    anchors.verticalCenter: parent.verticalCenter
                    width: 39
                    height: contentHeight
                    spacing: 3
                    interactive: false
                    model: modRGBvalue
                    function endInput() {
                        _Palette.setRGB(2, modRGBvalue.get(0).valueX, modRGBvalue.get(1).valueX,
                                        modRGBvalue.get(2).valueX)
                    }
                    delegate: Image {
                        id: field
                        required property int index
                        required property string textL
                        required property int valueX
                        width: 39
                        source: sourceInputValue
                        Text {
                            x: 2
                            anchors.verticalCenter: parent.verticalCenter
                            text: field.textL
                            color: globalSetting_color_disable
                            font.bold: true
                            font.pixelSize: 11
                        }
                        TextInput {
                            id: valueInput
                            objectName: "valueInput" + field.index
                            anchors.right: parent.right; anchors.rightMargin: 2
                            anchors.verticalCenter: parent.verticalCenter
                            text: field.valueX
                            validator: IntValidator { bottom: 0; top: 255 }
                            maximumLength: 3
                            selectByMouse: true
                            font.pixelSize: 11
                            color: activeFocus ? globalSetting_color : globalSetting_color_enable
                            Keys.onReturnPressed: focus = false
                            Keys.onEnterPressed: focus = false
                            onActiveFocusChanged: {
                                if (activeFocus)
                                    return
                                // An empty field keeps its last value.
                                var n = parseInt(text, 10)
                                if (isNaN(n)) {
                                    text = field.valueX
                                    return
                                }
                                modRGBvalue.setProperty(field.index, "valueX", n)
                                lvRGBvalue.endInput()
                            }
                        }
                    }
                }
            }

            Slider {
                id: brightness_Slider
                objectName: "brightness_Slider"
                property int value: 255
                x: 97; y: 140
                currentIndex: 7
                onSliderClicked: (index) => {
                    value = gsPage.brightnessOf(index)
                    _Color = gsPage.textColor(_Palette._R, _Palette._G, _Palette._B)
                }
            }
        }

        Image {
            id: btnFrame
            anchors.right: _textSettingBox.right
            anchors.top: _textSettingBox.bottom; anchors.topMargin: 8
            source: sourceFram2btn
            Button_2state {
                id: _Reset_IMG
                objectName: "_Reset_IMG"
                x: 1; y: 1
                source0: sourceReset0
                source1: sourceReset1
                onClicked: {
                    gsPage.forceActiveFocus()
                    gsPage.resetApconfig()
                }
            }
            Button_2state {
                id: _Apply_IMG
                objectName: "_Apply_IMG"
                anchors.left: _Reset_IMG.right; anchors.leftMargin: -1
                y: 1
                source0: sourceApply0
                source1: sourceApply1
                onClicked: gsPage.apply()
            }
        }
    }
}
