import QtQuick
import QtTest

Item {
    width: 1000
    height: 600
    Item { id: host; anchors.fill: parent }

    TestCase {
        id: tc
        name: "GlobalSettings"
        when: windowShown

        property var root
        property var page

        // A configuration as read back from disk: every value arrives as text.
        function config(overrides) {
            var c = ["1", "2", "1", "1", "1", "false", "", "1",
                     "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
                     "13", "14", "15", "16", "17", "18", "19", "20", "21",
                     "2", "0", "https://example.org/k3"]
            for (var k in overrides)
                c[k] = overrides[k]
            return c
        }
        function strings(tag) {
            var list = ["Noto Sans CJK SC"]
            for (var i = 1; i <= 114; ++i)
                list.push(tag + i)
            return list
        }
        function item(name) { return findChild(root, name) }

        function init() {
            ui_View.reset()
            ui_Ctl.reset()
            ui_View.languages = { "ENGLISH": "031000", "FRENCH": "037000" }
            ui_View.strings = { "031000": strings("en"), "037000": strings("fr").slice(0, 50) }
            root = createTemporaryObject(Qt.createComponent(Qt.resolvedUrl("../../src/resources/modules/qml/main.qml")), host)
            verify(root)
            root.visible = true
            page = item("_Page_Globalsetting")
        }

        function test_initUI_applies_configuration() {
            ui_View.apConfig = config({})
            root.initUI()
            compare(root.skin_No, 2)
            compare(root.animation_speed, 10)
            compare(root.globalSetting_size, 12)
            compare(root.globalSetting_url, "https://example.org/k3")
            compare(root.globalSetting_fontFamily, "Noto Sans CJK SC")
            // Colour 2 of the list with brightness level 0.
            compare(root.globalSetting_color.r, 7 / 255)
            compare(root.globalSetting_color.b, 9 / 255)
            fuzzyCompare(root.globalSetting_color.a, 45 / 255, 0.003)
            compare(ui_View.callsOf("setEnableAudio"), ["setEnableAudio(false)"])
            compare(ui_View.callsOf("getGlobalStrings"), ["getGlobalStrings(037000)"])
        }

        // A language file shorter than the built-in list keeps the built-in texts for the rest.
        function test_short_language_file_is_completed() {
            ui_View.apConfig = config({})
            root.initUI()
            compare(root.globalSetting_stringList.length, 115)
            compare(root.globalSetting_stringList[49], "fr49")
            compare(root.globalSetting_stringList[113], "ALL RESET")
        }

        function test_language_position_data() {
            return [
                { tag: "in range", pos: "0", code: "031000", text: "en113" },
                { tag: "beyond the installed languages", pos: "7", code: "031000", text: "en113" },
                { tag: "negative", pos: "-1", code: "031000", text: "en113" },
            ]
        }
        // A bad stored position falls back to the first language and the rest still applies.
        function test_language_position(data) {
            ui_View.apConfig = config({ 4: data.pos })
            root.initUI()
            compare(ui_View.callsOf("getGlobalStrings"), ["getGlobalStrings(" + data.code + ")"])
            compare(root.globalSetting_stringList[113], data.text)
            compare(root.globalSetting_url, "https://example.org/k3")
            compare(root.globalSetting_size, 12)
        }

        function test_no_configuration_keeps_defaults() {
            root.initUI()
            compare(ui_View.callsOf("chkLanguages"), [])
            compare(root.globalSetting_stringList[113], "ALL RESET")
            compare(root.globalSetting_size, 11)
            compare(root.animation_speed, 800)
            compare(root.globalSetting_color, "#00ffff")
        }

        function test_skin_menu_hidden_with_one_skin() {
            ui_View.skinShow = false
            root.initUI()
            var skin = findChild(page, "_skin"), sound = findChild(page, "_sound")
            compare(skin.visible, false)
            compare(sound.y, 11 + skin.height + 10)
        }

        function openPanel() {
            item("upItem").btnClicked(0)
            tryCompare(item("_fkGlobalsetting"), "contentX", 0)
        }

        function test_apply_saves_32_values() {
            ui_View.apConfig = config({})
            root.initUI()
            openPanel()
            mouseClick(findChild(page, "_Apply_IMG"))
            var saved = ui_View.callsOf("saveApConfig")
            compare(saved.length, 1)
            compare(saved[0], "saveApConfig(" + config({ 5: "false", 6: "" }).join(",") + ")")
            compare(item("upItem").isGlobalSettingSelect, false)
        }

        // A value typed into a field and not confirmed is committed before saving.
        function test_apply_commits_pending_input() {
            ui_View.apConfig = config({})
            root.initUI()
            openPanel()
            var field = findChild(page, "valueInput0")
            field.forceActiveFocus()
            field.selectAll()
            keyClick(Qt.Key_9)
            keyClick(Qt.Key_9)
            mouseClick(findChild(page, "_Apply_IMG"))
            var saved = ui_View.callsOf("saveApConfig")[0].slice("saveApConfig(".length, -1).split(",")
            compare(saved.length, 32)
            // The current colour is entry 2: positions 14 to 16.
            compare(saved.slice(14, 17), ["99", "8", "9"])
        }

        function test_reset_order() {
            ui_View.apConfig = config({ 2: "0" })
            root.initUI()
            openPanel()
            ui_View.reset()
            ui_View.apConfig = config({ 2: "0" })
            mouseClick(findChild(page, "_Reset_IMG"))
            var calls = ui_View.calls.filter(function(c) {
                return /^(setEnableAudio|clearAllMedia|resetApconfig|loadApConfig|playMedia_Index\(0\))/.test(c)
            })
            compare(calls, ["setEnableAudio(false)", "clearAllMedia()", "resetApconfig()", "loadApConfig()",
                            "setEnableAudio(true)", "playMedia_Index(0)"])
            compare(item("upItem").isGlobalSettingSelect, true)
        }

        function test_rainbow_data() {
            return [
                { tag: "black left end", pos: 0, rgb: [0, 0, 0] },
                { tag: "half way to red", pos: 6, rgb: [128, 0, 0] },
                { tag: "one eighth is red", pos: 12, rgb: [255, 0, 0] },
                { tag: "red to yellow", pos: 18, rgb: [255, 128, 0] },
                { tag: "yellow to green", pos: 30, rgb: [127, 255, 0] },
                { tag: "green to cyan", pos: 42, rgb: [0, 255, 128] },
                { tag: "cyan to blue", pos: 54, rgb: [0, 127, 255] },
                { tag: "blue to magenta", pos: 66, rgb: [128, 0, 255] },
                { tag: "magenta to white", pos: 78, rgb: [255, 128, 255] },
                { tag: "white", pos: 84, rgb: [255, 255, 255] },
                { tag: "white to black", pos: 90, rgb: [127, 127, 127] },
                { tag: "black right end", pos: 96, rgb: [0, 0, 0] },
            ]
        }
        // A gradient 97 pixels long: one level every 12 pixels.
        function test_rainbow(data) {
            compare(page.rainbowColor(data.pos, 97), data.rgb)
        }

        // A press on the rainbow sets the fields, the current colour and the text colour.
        function test_rainbow_press() {
            openPanel()
            var rainbow = findChild(page, "rainbow")
            mousePress(rainbow, 0, rainbow.height / 2)
            mouseRelease(rainbow, 0, rainbow.height / 2)
            var p = findChild(page, "_Palette")
            compare([p._R, p._G, p._B], [0, 0, 0])
            compare(findChild(page, "valueInput0").text, "0")
            compare(root.globalSetting_color, "#000000")
        }

        function test_brightness_data() {
            return [
                { tag: "level 0", x: 0, alpha: 45 },
                { tag: "level 3", x: 60, alpha: 135 },
                { tag: "level 7", x: 140, alpha: 255 },
            ]
        }
        function test_brightness(data) {
            openPanel()
            var cells = findChild(findChild(page, "brightness_Slider"), "cells")
            mousePress(cells, data.x, 10)
            mouseRelease(cells, data.x, 10)
            compare(findChild(page, "brightness_Slider").value, data.alpha)
            fuzzyCompare(root.globalSetting_color.a, data.alpha / 255, 0.003)
        }

        function test_background_field_data() {
            return [
                { tag: "picture chosen", path: "modules/img/skin2/background.png", on: true, url: "file:modules/img/skin2/background.png" },
                { tag: "nothing chosen", path: "", on: false, url: "" },
            ]
        }
        function test_background_field(data) {
            openPanel()
            ui_View.customPath = data.path
            var field = findChild(page, "_background")
            mouseClick(field)
            compare(field.isOn, data.on)
            compare(root.isCustomBackground, data.on)
            compare(root.sourceCustomBackground.toString(), data.url)
            mouseClick(field)
            compare(root.isCustomBackground, false)
            compare(root.sourceCustomBackground.toString(), "")
        }
    }
}
