import QtQuick

// A header that slides a FileList open below it.
Rectangle {
    id: fb
    property ListModel mdItems: ListModel {}
    property bool isSelect: false
    signal listElementClicked(int index)
    signal requestToUpdateList
    signal listOpened
    signal listClosed

    function setCurIndex(index) { list.lvItems.currentIndex = index }
    function getCurIndex() { return list.lvItems.currentIndex }
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
        var i = list.lvItems.currentIndex
        if (i >= 0 && i < mdItems.count)
            return mdItems.get(i).textX
        return "\u3010 " + globalSetting_stringList[1] + " \u3011"
    }

    color: "#FF000000"
    width: headerImg.implicitWidth
    height: headerImg.implicitHeight

    Image { id: headerImg; anchors.fill: parent; source: sourceSlider }
    Text {
        objectName: "headerText"
        anchors.left: parent.left; anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        text: { fb.mdItems.count; list.lvItems.currentIndex; globalSetting_stringList; return fb.currentText() }
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
        onClicked: {
            if (fb.isSelect) {
                fb.closeList()
            } else {
                fb.requestToUpdateList()
                fb.showList()
            }
        }
    }

    Flickable {
        id: area
        objectName: "listArea"
        y: fb.height - 1
        width: listBg.implicitWidth
        height: listBg.implicitHeight + 1
        clip: true
        interactive: false
        contentWidth: width
        contentHeight: height
        visible: fb.isSelect || pa_Y.running || paBack_Y.running

        Image {
            id: listBg
            y: -area.height
            source: sourceFilelist
            FileList {
                id: list
                objectName: "fileList"
                anchors.fill: parent
                color: "transparent"
                mdItems: fb.mdItems
                onListElementClicked: (index) => {
                    fb.closeList()
                    fb.listElementClicked(index)
                }
            }
        }
    }

    NumberAnimation {
        id: pa_Y
        target: area; property: "contentY"
        from: 0; to: -area.height
        easing.type: Easing.OutQuad
        duration: animation_speed * 0.5
        onStarted: fb.listOpened()
        onStopped: fb.isSelect = true
    }
    NumberAnimation {
        id: paBack_Y
        target: area; property: "contentY"
        from: -area.height; to: 0
        easing.type: Easing.OutQuad
        duration: animation_speed * 0.5
        onStopped: fb.isSelect = false
        onFinished: fb.listClosed()
    }
}
