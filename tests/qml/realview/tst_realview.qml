import QtQuick
import QtTest

Item {
    width: 1000
    height: 600
    Item { id: host; anchors.fill: parent }

    TestCase {
        id: tc
        name: "RealView"
        when: windowShown

        property var root
        function item(name) { return findChild(root, name) }

        function initTestCase() {
            root = Qt.createComponent("qrc:/modules/qml/main.qml").createObject(host)
            verify(root, "main.qml compiled into the program")
            root.visible = true
            root.initUI()
        }
        function cleanupTestCase() { root.destroy() }

        // Every shipped language gives a complete string list and a font.
        function test_languages_complete() {
            var page = item("_Page_Globalsetting")
            var langs = findChild(page, "_language").mdItems
            verify(langs.count >= 2, "languages installed: " + langs.count)
            for (var i = 0; i < langs.count; ++i) {
                page.setLanguage(i)
                var list = root.globalSetting_stringList
                compare(list.length, 115, langs.get(i).textX)
                for (var k = 0; k < list.length; ++k)
                    verify(list[k] !== undefined && String(list[k]).length > 0,
                           langs.get(i).textX + " string " + k)
                verify(root.globalSetting_fontFamily.length > 0)
            }
        }

        function test_frame_from_shipped_data() {
            var pf = item("pfItem")
            verify(findChild(pf, "profileList").count >= 1)
            compare(pf.currentIndex, Number(ui_View.ui_A1H_GetCurrentProfile()))
            compare(findChild(pf, "update_btn").visible, false)
            verify(Object.keys(item("_KeyCodeString").str2keycode).length > 0)
            verify(Object.keys(item("_KeyCodeString").matrix2keycode).length > 0)
        }

        // Apply writes the list the next start reads back.
        function test_apply_round_trip() {
            var page = item("_Page_Globalsetting")
            var list = page.configList()
            compare(list.length, 32)
            page.apply()
            var back = ui_View.loadApConfig()
            compare(back.length, 32)
            for (var i = 0; i < 32; ++i)
                compare(String(back[i]), String(list[i]), "position " + i)
        }

        function test_profile_switch_reaches_keyboard() {
            var pf = item("pfItem")
            var target = pf.currentIndex === 0 ? 1 : 0
            pf.indexChanged_btn(target)
            pf.currentIndex = target
            tryVerify(function() { return Number(ui_View.ui_A1H_GetCurrentProfile()) === target })
        }
    }
}
