import QtQuick
import "../common"

// Bottom menu: reset-all and save-all broadcasts.
Item {
    id: menuDown
    signal btnTotalResetClicked
    signal btnTotalApplyClicked
    function setSkin() {}

    width: container.implicitWidth + 18
    height: container.implicitHeight + 18

    Image {
        id: container
        anchors.centerIn: parent
        source: sourceListDnContainer

        Button_2state {
            id: _Reset_IMG
            objectName: "_Reset_IMG"
            x: 350; y: 13
            source0: sourceReset0
            source1: sourceReset1
            onClicked: {
                mainIten.setProtectUI(800)
                menuDown.btnTotalResetClicked()
            }
        }
        Text {
            id: resetLabel
            anchors.left: _Reset_IMG.right; anchors.leftMargin: 5
            anchors.verticalCenter: _Reset_IMG.verticalCenter
            text: globalSetting_stringList[113]
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            color: globalSetting_color
        }
        Button_2state {
            id: _Apply_IMG
            objectName: "_Apply_IMG"
            x: 350 + _Reset_IMG.width + resetLabel.width + 35; y: 13
            source0: sourceApply0
            source1: sourceApply1
            onClicked: {
                mainIten.setProtectUI(2000)
                menuDown.btnTotalApplyClicked()
            }
        }
        Text {
            anchors.left: _Apply_IMG.right; anchors.leftMargin: 5
            anchors.verticalCenter: _Apply_IMG.verticalCenter
            text: globalSetting_stringList[114]
            font.family: globalSetting_fontFamily
            font.pixelSize: globalSetting_size
            color: globalSetting_color
        }
    }
}
