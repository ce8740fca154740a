import QtQuick

// Device page placeholder: carries the functions the page frame calls and
// counts the calls, until the full page replaces it.
Item {
    id: page
    width: 759
    height: 396
    property int initCount: 0
    property var lastInitArgs: []
    property int translateCount: 0
    property int syncCount: 0
    function syncColor() { syncCount += 1 }
    onVisibleChanged: if (visible) syncColor()
    function initUI(isFirst, hwDef) {
        initCount += 1
        lastInitArgs = [isFirst, hwDef]
    }
    function translateStrings() { translateCount += 1 }

    Image { source: sourceFnCommonBackground }
    Text {
        anchors.centerIn: parent
        text: globalSetting_stringList[86]
        font.family: globalSetting_fontFamily
        font.bold: true
        font.pixelSize: globalSetting_size
        color: globalSetting_color_enable
    }
}
