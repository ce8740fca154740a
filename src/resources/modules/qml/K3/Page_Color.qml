import QtQuick

// Device page placeholder: carries the functions the page frame calls and
// counts the calls, until the full page replaces it.
Item {
    id: page
    width: 759
    height: 442
    property int initCount: 0
    property var lastInitArgs: []
    property int translateCount: 0
    property bool isComponentIsOk: false
    property var effectLog: []
    function playEffect(isOn) { effectLog = effectLog.concat([isOn]) }
    Component.onCompleted: isComponentIsOk = true
    onVisibleChanged: if (isComponentIsOk) playEffect(visible)
    Connections {
        target: pfItem
        function onIndexChanged_btn(currentIndex) { page.playEffect(page.visible) }
    }
    function initUI(isFirst, hwDef) {
        initCount += 1
        lastInitArgs = [isFirst, hwDef]
    }
    function translateStrings() { translateCount += 1 }

    Image { source: sourceFnColorBackground }
    Text {
        anchors.centerIn: parent
        text: globalSetting_stringList[76]
        font.family: globalSetting_fontFamily
        font.bold: true
        font.pixelSize: globalSetting_size
        color: globalSetting_color_enable
    }
}
