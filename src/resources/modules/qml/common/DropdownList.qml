import QtQuick

// A header that slides a list of choices open below it.
Rectangle {
    id: dd
    property ListModel mdItems: ListModel {}
    property bool isSelect: false
    property int defaultIndex: -1
    signal listElementClicked(int index)
    signal listOpened
    signal listClosed

    function setCurIndex(index) { defaultIndex = index }
    function getCurIndex() { return defaultIndex }

    function showList() {
        if (paBack_Y.running) {
            paBack_Y.complete()
            showList()
        } else if (pa_Y.running) {
            pa_Y.complete()
        } else {
            pa_Y.restart()
        }
    }
    function closeList() {
        if (pa_Y.running) {
            pa_Y.complete()
            closeList()
        } else if (paBack_Y.running) {
            paBack_Y.complete()
        } else {
            paBack_Y.restart()
        }
    }
    function currentText() {
        if (defaultIndex >= 0 && defaultIndex < mdItems.count)
            return mdItems.get(defaultIndex).textX
        return "\u3010 " + globalSetting_stringList[1] + " \u3011"
    }

    readonly property int slideDuration: animation_speed * (0.1 + 0.05 * mdItems.count)

    color: "#FF000000"
    width: headerImg.implicitWidth
    height: headerImg.implicitHeight

    Image { id: headerImg; anchors.fill: parent; source: sourceSlider }
    Text {
        objectName: "headerText"
        anchors.left: parent.left; anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: { dd.mdItems.count; dd.defaultIndex; globalSetting_stringList; return dd.currentText() }
        font.family: globalSetting_fontFamily
        font.bold: true
        font.pixelSize: globalSetting_size
        color: headerMa.containsMouse ? globalSetting_color : globalSetting_color_enable
    }
    Text {
        anchors.right: parent.right; anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: "\u25BC"
        font.family: "Arial"
        font.bold: true
        font.pixelSize: globalSetting_size
        color: headerMa.containsMouse ? globalSetting_color : globalSetting_color_enable
    }
    MouseArea {
        id: headerMa
        objectName: "header"
        anchors.fill: parent
        hoverEnabled: true
        onClicked: dd.isSelect ? dd.closeList() : dd.showList()
    }

    Flickable {
        id: area
        objectName: "listArea"
        y: dd.height - 1
        width: dd.width
        height: dd.height * dd.mdItems.count - (dd.mdItems.count - 1) + 1
        clip: true
        interactive: false
        contentWidth: width
        contentHeight: height
        visible: dd.isSelect || pa_Y.running || paBack_Y.running

        Rectangle {
            width: area.width
            height: area.height
            color: "#FF000000"
            Column {
                spacing: -1
                Repeater {
                    model: dd.mdItems
                    Image {
                        id: row
                        required property int index
                        required property string textX
                        objectName: "element" + index
                        width: dd.width
                        height: dd.height
                        source: sourceSlider
                        Text {
                            anchors.left: parent.left; anchors.leftMargin: 10
                            anchors.verticalCenter: parent.verticalCenter
                            text: row.textX
                            font.family: globalSetting_fontFamily
                            font.bold: true
                            font.pixelSize: globalSetting_size
                            color: rowMa.containsMouse ? globalSetting_color : globalSetting_color_enable
                        }
                        MouseArea {
                            id: rowMa
                            anchors.fill: parent
                            hoverEnabled: true
                            onClicked: {
                                dd.defaultIndex = row.index
                                dd.closeList()
                                dd.listElementClicked(row.index)
                            }
                        }
                    }
                }
            }
        }
    }

    NumberAnimation {
        id: pa_Y
        target: area; property: "contentY"
        from: area.height; to: 0
        easing.type: Easing.OutQuad
        duration: dd.slideDuration
        onStarted: dd.listOpened()
        onStopped: dd.isSelect = true
    }
    NumberAnimation {
        id: paBack_Y
        target: area; property: "contentY"
        from: 0; to: area.height
        easing.type: Easing.OutQuad
        duration: dd.slideDuration
        onStopped: dd.isSelect = false
        onFinished: dd.listClosed()
    }
}
