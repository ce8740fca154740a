import QtQuick
import QtTest

Item {
    width: 1000
    height: 600
    Item { id: host; anchors.fill: parent }
    SignalSpy { id: blinkSpy; signalName: "visibleChanged" }

    TestCase {
        id: tc
        name: "DevicePageFrame"
        when: windowShown

        property var root
        property var k3

        function item(name) { return findChild(root, name) }
        function setSpeed(ms) { item("_Page_Globalsetting")._AnimationSpeed = ms }

        function init() {
            ui_View.reset()
            ui_Ctl.reset()
            ui_View.maxProfile = 4
            ui_View.currentProfile = 1
            ui_View.hwDef = [1, 128, 0, 0, 1, "ESC", 0, 41]
            root = createTemporaryObject(Qt.createComponent(Qt.resolvedUrl("../../src/resources/modules/qml/main.qml")), host)
            verify(root)
            root.visible = true
            k3 = item("main_K3")
            root.initUI()
            setSpeed(10)
            k3.playOnPowerOn()
            tryCompare(item("_fkPage"), "visible", true)
            tryCompare(item("pfItem"), "x", 1000 - item("pfItem").width - 8)
            setSpeed(800)
            ui_View.reset()
        }

        function test_startup_order() {
            compare(item("pfItem").currentIndex, 1)
            compare(item("fnItem").currentIndex, -1)
            compare(item("_fkPage").curID, -1)
            var kd = item("_Page_Keydefine")
            compare(kd.initCount, 1)
            compare(kd.lastInitArgs[0], true)
            compare(kd.lastInitArgs[1].length, 8)
            compare(item("_Page_Color").lastInitArgs[0], true)
            compare(item("_Page_Macro").initCount, 1)
            compare(item("_Page_BackLighting").initCount, 1)
            compare(item("_KeyCodeString").matrixTokeycode(0), 41)
            compare(findChild(item("pfItem"), "profileList").count, 4)
        }

        function clickFn(i) { mouseClick(findChild(item("fnItem"), "fnButton" + i)) }

        // Each step clicks a function button; "settle" lets the slides end before the next.
        function test_slides_data() {
            return [
                { tag: "KEY then MACRO during the slide-in", steps: [0, 1], nowCur: 1, nowSliding: false, cur: 1, fn: 1 },
                { tag: "KEY twice", steps: [0, "settle", 0], nowCur: 0, nowSliding: true, cur: -1, fn: -1 },
                { tag: "MACRO during the slide-out to COLOR", steps: [0, "settle", 2, 1], nowCur: 1, nowSliding: true, cur: 1, fn: 1 },
                { tag: "COLOR after KEY", steps: [0, "settle", 2], nowCur: 0, nowSliding: true, cur: 2, fn: 2 },
            ]
        }
        function test_slides(data) {
            var page = item("_fkPage")
            var pa = findChild(k3, "pa_X")
            var back = findChild(k3, "paBack_X")
            for (var i = 0; i < data.steps.length; ++i) {
                if (data.steps[i] === "settle")
                    tryVerify(function() { return !pa.running && !back.running && page.contentX === 0 })
                else
                    clickFn(data.steps[i])
            }
            compare(page.curID, data.nowCur)
            compare(pa.running || back.running, data.nowSliding)
            tryVerify(function() { return !pa.running && !back.running })
            compare(page.curID, data.cur)
            compare(item("fnItem").currentIndex, data.fn)
            compare(page.contentX, data.cur >= 0 ? 0 : -1518)
            var icon = findChild(findChild(item("fnItem"), "fnButton0"), "icon")
            verify(icon.source.toString().endsWith(data.fn === 0 ? "_1.png" : "_0.png"))
        }

        function profileCalls() {
            return ui_View.calls.filter(function(c) {
                return /^(ui_21H|syncLed|loadProfile|saveProfile|resetProfile)/.test(c)
            })
        }
        // entry -1 is a left click on the row; 0..3 are LOAD, SAVE, RESET, CANCEL of its menu.
        function test_profile_actions_data() {
            var sw = function(p) { return ["ui_21H_SetCurrentProfile(" + p + ")", "syncLed()"] }
            return [
                { tag: "left click on another row", row: 2, entry: -1, calls: sw(2), reload: true, cur: 2 },
                { tag: "left click on the current row", row: 1, entry: -1, calls: [], reload: false, cur: 1 },
                { tag: "LOAD current", row: 1, entry: 0, calls: ["loadProfile(1)"].concat(sw(1)), reload: true, cur: 1 },
                { tag: "LOAD other", row: 3, entry: 0, calls: ["loadProfile(3)"], reload: false, cur: 1 },
                { tag: "SAVE current", row: 1, entry: 1, calls: ["saveProfile(1)"], reload: false, cur: 1 },
                { tag: "RESET current", row: 1, entry: 2, calls: ["resetProfile(1)"].concat(sw(1)), reload: true, cur: 1 },
                { tag: "RESET other", row: 0, entry: 2, calls: ["resetProfile(0)"], reload: false, cur: 1 },
                { tag: "CANCEL", row: 0, entry: 3, calls: [], reload: false, cur: 1 },
            ]
        }
        function test_profile_actions(data) {
            var pf = item("pfItem")
            var kd = item("_Page_Keydefine"), color = item("_Page_Color"), bl = item("_Page_BackLighting")
            var before = [kd.initCount, color.initCount, bl.initCount, color.effectLog.length]
            var row = findChild(pf, "profileRow" + data.row)
            if (data.entry < 0) {
                mouseClick(row, 10, 10)
            } else {
                mouseClick(row, 10, 10, Qt.RightButton)
                var menu = findChild(pf, "itLvContextMenu")
                verify(menu.visible)
                compare(menu.profileIndex, data.row)
                mouseClick(findChild(menu, "menuEntry" + data.entry))
                tryCompare(menu, "visible", false)
            }
            compare(profileCalls(), data.calls)
            compare(pf.currentIndex, data.cur)
            var d = data.reload ? 1 : 0
            compare([kd.initCount, color.initCount, bl.initCount, color.effectLog.length],
                    [before[0] + d, before[1] + d, before[2] + d, before[3] + d])
        }

        function test_update_button_data() {
            return [
                { tag: "current firmware", fw: "01.02", changes: 1, visible: false },
                { tag: "older firmware", fw: "01.01", changes: 16, visible: true },
                { tag: "unreadable firmware", fw: "", changes: 16, visible: true },
            ]
        }
        // The button blinks for 16 ticks (15 inversions, then shown for good); "01.02" hides it.
        function test_update_button(data) {
            var pf = item("pfItem")
            var btn = findChild(pf, "update_btn")
            var timer = findChild(pf, "helloTimer")
            btn.visible = true
            timer.interval = 20
            ui_View.fwVersion = data.fw
            blinkSpy.target = btn
            blinkSpy.clear()
            pf.initProfile(3)
            tryCompare(timer, "running", false, 3000)
            compare(blinkSpy.count, data.changes)
            compare(btn.visible, data.visible)
            compare(pf.tim_val, 0)
            compare(findChild(pf, "profileList").count, 3)
        }

        function test_labels_wrap_after_99() {
            var pf = item("pfItem")
            compare([pf.label(0), pf.label(9), pf.label(98), pf.label(99), pf.label(100)],
                    ["P01", "P10", "P99", "P00", "P01"])
        }

        function test_lighting_report_reloads_lighting_pages() {
            var color = item("_Page_Color"), bl = item("_Page_BackLighting")
            var before = [color.initCount, bl.initCount, color.effectLog.length]
            root.zzzMorvel()
            compare([color.initCount, bl.initCount, color.effectLog.length],
                    [before[0] + 1, before[1] + 1, before[2] + 1])
            compare(profileCalls(), [])
        }
    }
}
