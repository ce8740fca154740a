import QtQuick

// Image button with a normal and a hover image; clicks play the click sound.
Item {
    id: btn
    property url source0: ""
    property url source1: ""
    readonly property alias mouse: ma
    signal clicked

    width: img.implicitWidth
    height: img.implicitHeight
    opacity: (!enabled || ma.pressed) ? 0.2 : 1.0

    Image {
        id: img
        anchors.fill: parent
        source: (btn.enabled && ma.containsMouse) ? btn.source1 : btn.source0
    }
    MouseArea {
        id: ma
        objectName: "mouse"
        anchors.fill: parent
        hoverEnabled: true
        onClicked: {
            ui_View.playMedia_Index(4)
            btn.clicked()
        }
    }
}
