import QtQuick

// Blinking "LOADING" text shown while the UI is locked.
Item {
    id: busy
    property bool isBusy: false
    function setBusy(_isBusy) { isBusy = _isBusy }

    width: label.implicitWidth
    height: label.implicitHeight
    visible: isBusy

    Text {
        id: label
        text: qsTr("LOADING ......")
        font.bold: true
        font.family: globalSetting_fontFamily
        font.pixelSize: globalSetting_size
        color: globalSetting_color
        SequentialAnimation on opacity {
            running: busy.isBusy
            loops: Animation.Infinite
            NumberAnimation { from: 1.0; to: 0.2; duration: 400 }
            NumberAnimation { from: 0.2; to: 1.0; duration: 400 }
        }
    }
}
