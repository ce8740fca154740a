import QtQuick
import QtTest

TestCase {
    id: tc
    name: "MainScene"
    when: windowShown
    width: 1000
    height: 600

    property var root

    function init() {
        ui_View.reset()
        ui_Ctl.reset()
        root = createTemporaryObject(Qt.createComponent(Qt.resolvedUrl("../../src/resources/modules/qml/main.qml")), tc)
        verify(root)
    }
    function item(name) { return findChild(root, name) }

    function test_loads() {
        compare(root.visible, false)
        compare(root.globalSetting_stringList.length, 115)
        compare(root.sourceSlider, "file:modules/img/skin1/common/slider_BASE.png")
    }
}
