import QtQuick
import "../common"

// Top menu: global settings toggle (0) and close (1).
Item {
    id: menuUp
    property bool isGlobalSettingSelect: false
    signal btnClicked(int btnIndex)

    width: container.implicitWidth + 16
    height: container.implicitHeight + 16

    Image {
        id: container
        anchors.centerIn: parent
        source: sourceListUpContainer

        Image {
            id: settingBtn
            objectName: "settingButton"
            anchors.left: parent.left; anchors.leftMargin: 5
            y: -3
            source: (menuUp.isGlobalSettingSelect || settingMa.containsMouse) ? sourceAS1 : sourceAS0
            MouseArea {
                id: settingMa
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    ui_View.playMedia_Index(2)
                    menuUp.btnClicked(0)
                }
            }
        }
        Button_2state {
            objectName: "closeButton"
            anchors.right: parent.right; anchors.rightMargin: 5
            y: -3
            source0: sourceAM0
            source1: sourceAM1
            onClicked: menuUp.btnClicked(1)
        }
    }
}
