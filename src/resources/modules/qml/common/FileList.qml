import QtQuick

// Scrolling list of rows (left text editable in place, right text) with a scroll bar.
Rectangle {
    id: fl
    property ListModel mdItems: ListModel {}
    property alias lvItems: lv
    signal listElementClicked(int index)
    signal listElementRightBtnClicked(int index)
    signal editFileName_start(int tarIndex)
    signal editFileName_stop()
    signal editFileName_completed(string oldName, string newName)

    function editFileName(index) { editFileName_start(index) }
    function stopEditFileName() { editFileName_stop() }

    width: 151
    height: 200
    color: "#FF000000"

    Item {
        id: area
        width: fl.width - 10
        height: fl.height - 1
        anchors.centerIn: parent

        ListView {
            id: lv
            objectName: "lvItems"
            width: area.width - 8
            height: area.height
            anchors.horizontalCenter: parent.horizontalCenter
            clip: true
            spacing: -1
            boundsBehavior: Flickable.StopAtBounds
            currentIndex: -1
            model: fl.mdItems
            onCountChanged: if (count === 0) currentIndex = -1
            Connections {
                target: fl.mdItems
                function onCountChanged() {
                    if (fl.mdItems.count === 0)
                        lv.currentIndex = -1
                }
            }

            delegate: Item {
                id: row
                required property var model
                required property int index
                property bool isEditing: false
                objectName: "row" + index
                width: lv.width
                height: 20
                readonly property bool lit: lv.currentIndex === index || rowMa.containsMouse

                function finishEdit() {
                    var oldName = model.textX
                    var typed = input.text
                    model.textX = typed
                    Qt.inputMethod.hide()
                    isEditing = false
                    fl.editFileName_completed(oldName, typed)
                    input.focus = false
                }

                Image {
                    visible: row.index > 0
                    width: parent.width; y: 0
                    source: sourceLine
                }
                Image {
                    visible: row.index < lv.count - 1
                    width: parent.width; y: 19
                    source: sourceLine
                }
                TextInput {
                    id: input
                    objectName: "input"
                    anchors.left: parent.left; anchors.leftMargin: 5
                    anchors.right: rightText.left; anchors.rightMargin: 4
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.model.textX
                    readOnly: !row.isEditing
                    selectByMouse: true
                    clip: true
                    font.family: globalSetting_fontFamily
                    font.bold: true
                    font.pixelSize: globalSetting_size
                    color: row.lit ? globalSetting_color : globalSetting_color_enable
                    Keys.onReturnPressed: if (row.isEditing) row.finishEdit()
                    Keys.onEnterPressed: if (row.isEditing) row.finishEdit()
                    onActiveFocusChanged: {
                        if (!activeFocus) {
                            deselect()
                            text = row.model.textX
                        }
                    }
                }
                Text {
                    id: rightText
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.model.textR === undefined ? "" : row.model.textR
                    font.family: globalSetting_fontFamily
                    font.bold: true
                    font.pixelSize: globalSetting_size
                    color: row.lit ? globalSetting_color : globalSetting_color_enable
                }
                MouseArea {
                    id: rowMa
                    anchors.fill: parent
                    enabled: !row.isEditing
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onClicked: (mouse) => {
                        if (mouse.button === Qt.RightButton) {
                            fl.listElementRightBtnClicked(row.index)
                            return
                        }
                        lv.currentIndex = (lv.currentIndex === row.index) ? -1 : row.index
                        fl.listElementClicked(lv.currentIndex)
                    }
                }
                Connections {
                    target: fl
                    function onEditFileName_start(tarIndex) {
                        if (tarIndex !== row.index)
                            return
                        row.isEditing = true
                        row.model.textX = input.text
                        input.forceActiveFocus()
                        input.selectAll()
                        Qt.inputMethod.show()
                    }
                    function onEditFileName_stop() {
                        if (row.isEditing)
                            row.finishEdit()
                    }
                }
            }
        }

        Rectangle {
            id: bar
            objectName: "scrollBar"
            width: 5
            radius: 2.5
            anchors.right: parent.right
            opacity: 0.5
            y: lv.y + lv.visibleArea.yPosition * lv.height
            height: lv.visibleArea.heightRatio * lv.height
            visible: height + 1 < fl.height && lv.count > 0
            color: barMa.containsMouse ? globalSetting_color : globalSetting_color_enable
            MouseArea {
                id: barMa
                property real pressY: 0
                anchors.fill: parent
                hoverEnabled: true
                onPressed: (mouse) => { pressY = mouse.y }
                onPositionChanged: (mouse) => {
                    if (!pressed)
                        return
                    var d = mouse.y - pressY
                    if ((d < 0 && bar.y >= lv.y) || (d > 0 && bar.y + bar.height <= lv.y + lv.height))
                        lv.contentY += d
                }
            }
        }
    }
}
