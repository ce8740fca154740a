import QtQuick

// Profile menu: switches, imports, exports and resets profiles; offers the
// firmware updater when the keyboard's firmware is not the expected one.
Image {
    id: pfMenu
    property int img_Width: 49
    property int img_Height: 26
    property alias currentIndex: lv.currentIndex
    property alias tim_val: helloTimer.tim_val
    signal indexChanged_btn(int currentIndex)

    readonly property string expectedFirmware: "01.02"

    function initProfile(maxProfile) {
        md.clear()
        var n = Math.max(0, parseInt(maxProfile, 10) || 0)
        for (var i = 0; i < n; ++i)
            md.append({ "slot": i })
        getkeyboardupdate()
    }
    function getkeyboardupdate() {
        var fw = String(ui_View.ui_80H_GetFWVersion())
        if (fw === expectedFirmware) {
            helloTimer.stop()
            update_btn.visible = false
        } else {
            helloTimer.start()
        }
    }
    function translateStrings() {
        menuModel.setProperty(0, "textX", globalSetting_stringList[84])
        menuModel.setProperty(1, "textX", globalSetting_stringList[85])
        menuModel.setProperty(2, "textX", globalSetting_stringList[77])
        menuModel.setProperty(3, "textX", globalSetting_stringList[78])
    }
    function label(index) {
        var n = (index + 1) % 100
        return "P" + (n < 10 ? "0" : "") + n
    }
    function menuAction(entry) {
        itLvContextMenu.close()
        var p = itLvContextMenu.profileIndex
        if (entry === 0) {
            ui_View.loadProfile(p)
            if (p === currentIndex)
                indexChanged_btn(currentIndex)
        } else if (entry === 1) {
            ui_View.saveProfile(p)
        } else if (entry === 2) {
            ui_View.resetProfile(p)
            if (p === currentIndex)
                indexChanged_btn(currentIndex)
        }
    }

    source: sourceListPfContainer

    ListModel {
        id: md
        ListElement { slot: 0 }
        ListElement { slot: 1 }
        ListElement { slot: 2 }
        ListElement { slot: 3 }
    }

    ListView {
        id: lv
        objectName: "profileList"
        x: 23; y: 97
        width: pfMenu.img_Width
        height: 260
        interactive: false
        currentIndex: 0
        model: md
        delegate: Item {
            id: row
            required property int index
            objectName: "profileRow" + index
            width: pfMenu.img_Width
            height: pfMenu.img_Height
            Image {
                id: fw
                anchors.verticalCenter: parent.verticalCenter
                source: (lv.currentIndex === row.index || rowMa.containsMouse) ? sourceFW1 : sourceFW0
            }
            // The row image spans the whole row in the shipped skins, so the label
            // sits on it rather than beside it, clear of the indicator at its right end.
            Text {
                anchors.centerIn: fw
                anchors.horizontalCenterOffset: -3
                text: pfMenu.label(row.index)
                font.family: "Arial"
                font.bold: true
                font.pixelSize: globalSetting_size
                color: globalSetting_color
            }
            MouseArea {
                id: rowMa
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onClicked: (mouse) => {
                    if (mouse.button === Qt.RightButton) {
                        itLvContextMenu.profileIndex = row.index
                        itLvContextMenu.show(mouse.x, row.index * 26 + mouse.y + 85)
                    } else if (row.index !== lv.currentIndex) {
                        lv.currentIndex = row.index
                        pfMenu.indexChanged_btn(row.index)
                    }
                }
            }
        }
    }

    Rectangle {
        id: update_btn
        objectName: "update_btn"
        x: lv.x - 75
        y: lv.y + lv.height + 100 - height
        width: pfMenu.img_Width + 70
        height: 26
        color: "Black"
        border.width: 1
        border.color: "#9c5300"
        Text {
            // Shrinks to fit: longer languages and the larger text size must stay inside the frame.
            anchors.centerIn: parent
            width: parent.width - 6
            horizontalAlignment: Text.AlignHCenter
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 6
            text: globalSetting_stringList[111]
            font.family: globalSetting_fontFamily
            font.bold: true
            font.pixelSize: globalSetting_size
            color: updMa.containsMouse ? globalSetting_color : "#aaaaaa"
        }
        MouseArea {
            id: updMa
            anchors.fill: parent
            hoverEnabled: true
            onClicked: ui_View.openUpdateExe()
        }
    }

    Timer {
        id: helloTimer
        objectName: "helloTimer"
        property int tim_val: 0
        interval: 500
        repeat: true
        onTriggered: {
            tim_val += 1
            if (tim_val >= 16) {
                tim_val = 0
                stop()
                update_btn.visible = true
            } else {
                update_btn.visible = !update_btn.visible
            }
        }
    }

    ListModel {
        id: menuModel
        ListElement { textX: "LOAD"; btnEnable: true }
        ListElement { textX: "SAVE"; btnEnable: true }
        ListElement { textX: "RESET"; btnEnable: true }
        ListElement { textX: "CANCEL"; btnEnable: true }
    }

    Rectangle {
        id: itLvContextMenu
        objectName: "itLvContextMenu"
        property int profileIndex: 0
        property int memberWidth: 45
        property int memberHeight: 20
        width: memberWidth
        height: memberHeight * menuModel.count
        color: "#20000000"
        visible: false

        function show(mouseX, screenY) {
            closing.stop()
            x = mouseX - memberWidth
            y = screenY
            visible = true
            opening.restart()
        }
        function close() {
            opening.stop()
            closing.restart()
        }

        Column {
            Repeater {
                model: menuModel
                Item {
                    id: entry
                    required property int index
                    required property string textX
                    required property bool btnEnable
                    objectName: "menuEntry" + index
                    width: itLvContextMenu.memberWidth
                    height: itLvContextMenu.memberHeight
                    Text {
                        anchors.centerIn: parent
                        text: entry.textX
                        font.family: globalSetting_fontFamily
                        font.pixelSize: globalSetting_size
                        color: !entry.btnEnable ? globalSetting_color_disable
                               : (entryMa.containsMouse ? globalSetting_color : globalSetting_color_enable)
                    }
                    MouseArea {
                        id: entryMa
                        anchors.fill: parent
                        enabled: entry.btnEnable
                        hoverEnabled: true
                        onClicked: pfMenu.menuAction(entry.index)
                    }
                }
            }
        }

        NumberAnimation {
            id: opening
            target: itLvContextMenu; property: "opacity"
            from: 0.0; to: 1.0
            easing.type: Easing.OutExpo
            duration: animation_speed * 1.5
        }
        NumberAnimation {
            id: closing
            target: itLvContextMenu; property: "opacity"
            from: 1.0; to: 0.0
            easing.type: Easing.OutExpo
            duration: animation_speed
            onStopped: itLvContextMenu.visible = false
        }
    }
}
