import QtQuick

// Function menu: chooses the device page (KEY, MACRO, COLOR).
Item {
    id: fnItem
    property int img_Width: 150
    property int img_Height: 37
    property int btn_spacing: 10
    property alias currentIndex: lv.currentIndex
    signal indexChanged_btn(int currentIndex)

    readonly property var iconNames: ["fnKeydefine", "fnMacro", "fnColor"]

    function setSkin() {
        for (var i = 0; i < md.count; ++i) {
            var base = "file:modules/img/skin" + skin_No + "/list_fn/" + iconNames[i]
            md.setProperty(i, "sourceICON0", base + "_0.png")
            md.setProperty(i, "sourceICON1", base + "_1.png")
        }
    }
    function translateStrings() {
        md.setProperty(0, "name", globalSetting_stringList[74])
        md.setProperty(1, "name", globalSetting_stringList[75])
        md.setProperty(2, "name", globalSetting_stringList[76])
    }

    width: img_Width
    height: 4 * img_Height + 3 * btn_spacing

    ListModel {
        id: md
        ListElement {
            sourceICON0: "file:modules/img/skin1/list_fn/fnKeydefine_0.png"
            sourceICON1: "file:modules/img/skin1/list_fn/fnKeydefine_1.png"
            name: "KEY"
        }
        ListElement {
            sourceICON0: "file:modules/img/skin1/list_fn/fnMacro_0.png"
            sourceICON1: "file:modules/img/skin1/list_fn/fnMacro_1.png"
            name: "MACRO"
        }
        ListElement {
            sourceICON0: "file:modules/img/skin1/list_fn/fnColor_0.png"
            sourceICON1: "file:modules/img/skin1/list_fn/fnColor_1.png"
            name: "COLOR"
        }
    }

    ListView {
        id: lv
        objectName: "fnList"
        anchors.fill: parent
        spacing: fnItem.btn_spacing
        interactive: false
        currentIndex: 0
        model: md
        delegate: Image {
            id: btn
            required property int index
            required property string sourceICON0
            required property string sourceICON1
            required property string name
            objectName: "fnButton" + index
            width: fnItem.img_Width
            height: fnItem.img_Height
            source: ma.containsMouse ? sourceListFnBtn_1 : sourceListFnBtn_0
            Image {
                id: icon
                objectName: "icon"
                x: fnItem.img_Width / 15
                anchors.verticalCenter: parent.verticalCenter
                source: lv.currentIndex === btn.index ? btn.sourceICON1 : btn.sourceICON0
            }
            Text {
                anchors.left: icon.right; anchors.leftMargin: 15
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: 4
                text: btn.name
                font.family: globalSetting_fontFamily
                font.bold: true
                font.pixelSize: globalSetting_size
                color: globalSetting_color
            }
            MouseArea {
                id: ma
                anchors.fill: parent
                hoverEnabled: true
                onClicked: {
                    lv.currentIndex = (lv.currentIndex === btn.index) ? -1 : btn.index
                    fnItem.indexChanged_btn(lv.currentIndex)
                }
            }
        }
    }
}
