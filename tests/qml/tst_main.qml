import QtQuick
import QtTest

Item {
    width: 1000
    height: 600
    Item { id: host; anchors.fill: parent }

TestCase {
    id: tc
    name: "MainScene"
    when: windowShown

    property var root

    SignalSpy { id: keySpy; signalName: "msg_KB" }

    function init() {
        ui_View.reset()
        ui_Ctl.reset()
        root = createTemporaryObject(Qt.createComponent(Qt.resolvedUrl("../../src/resources/modules/qml/main.qml")), host)
        verify(root)
        // Items report themselves visible only while the root is; run() shows it.
        root.visible = true
    }
    function item(name) { return findChild(root, name) }
    function setSpeed(ms) { item("_Page_Globalsetting")._AnimationSpeed = ms }

    function test_loaded_state() {
        root.visible = false
        verify(!root.visible)
        compare(root.globalSetting_stringList.length, 115)
        compare(root.sourceSlider, "file:modules/img/skin1/common/slider_BASE.png")
        item("_Page_Globalsetting").skin_No = 2
        compare(root.sourceBackground, "file:modules/img/skin2/background.png")
        compare(item("_fkGlobalsetting").visible, false)
        compare(item("protectUIItem").visible, false)
    }

    // Elapsed ms from the first call to the unlock, for a second call after `gap` ms.
    function test_protect_period_data() {
        return [
            { tag: "same interval keeps the countdown", first: 600, gap: 300, second: 600, min: 550, max: 850 },
            { tag: "new interval restarts", first: 600, gap: 300, second: 700, min: 950, max: 1400 },
            { tag: "zero ends at the next tick", first: 600, gap: 300, second: 0, min: 280, max: 550 },
        ]
    }
    function test_protect_period(data) {
        var start = Date.now()
        root.setProtectUI(data.first)
        compare(ui_View.enabled, false)
        verify(item("protectUIItem").isBusy)
        wait(data.gap)
        root.setProtectUI(data.second)
        tryCompare(ui_View, "enabled", true, 3000)
        var elapsed = Date.now() - start
        verify(elapsed >= data.min && elapsed <= data.max, "unlocked after " + elapsed + " ms")
        compare(item("protectUIItem").isBusy, false)
    }

    // Requests in the same or the other direction while a slide runs.
    function test_panel_data() {
        return [
            { tag: "show twice finishes the opening", calls: ["show", "show"], visible: true, contentX: 0 },
            { tag: "close during opening slides back", calls: ["show", "close"], visible: false, contentX: 340 },
            { tag: "close twice finishes the closing", calls: ["show", "settle", "close", "close"], visible: false, contentX: 340 },
            { tag: "show during closing reopens", calls: ["show", "settle", "close", "show"], visible: true, contentX: 0 },
        ]
    }
    function test_panel(data) {
        var panel = item("_fkGlobalsetting")
        for (var i = 0; i < data.calls.length; ++i) {
            if (data.calls[i] === "settle")
                wait(root.animation_speed)
            else
                panel[data.calls[i]]()
        }
        wait(root.animation_speed + 100)
        compare(panel.visible, data.visible)
        compare(panel.contentX, data.contentX)
    }

    // The settings button toggles the panel and dims everything but the top menu.
    function test_settings_button_dims_frame() {
        var up = item("upItem")
        up.btnClicked(0)
        compare(up.isGlobalSettingSelect, true)
        verify(item("_fkGlobalsetting").visible)
        compare(item("downItem").enabled, false)
        compare(item("downItem").opacity, 0.2)
        compare(item("_fkPage").enabled, false)
        compare(item("fnItem").opacity, 0.2)
        up.btnClicked(0)
        compare(up.isGlobalSettingSelect, false)
        tryCompare(item("_fkGlobalsetting"), "visible", false)
        compare(item("downItem").opacity, 1)
    }

    function test_startup_with_animations_off() {
        setSpeed(10)
        root.run()
        compare(root.visible, true)
        compare(ui_View.callsOf("playMedia_Index")[0], "playMedia_Index(1)")
        tryCompare(item("upItem"), "y", 0)
        tryCompare(item("downItem"), "y", 600 - item("downItem").height)
        tryCompare(item("_fkPage"), "visible", true)
        verify(item("fnItem").visible)
        compare(item("envItem").opacity, 1)
        compare(item("logoWeb_img").y, 4)
    }

    function test_shutdown_ends_in_minimize() {
        setSpeed(10)
        item("upItem").btnClicked(1)
        tryVerify(function() { return ui_Ctl.callsOf("onMinimize").length === 1 })
        compare(root.height, 0)
    }

    function test_close_button_plays_sound_and_closes() {
        setSpeed(10)
        root.run()
        tryCompare(item("upItem"), "y", 0)
        mouseClick(findChild(item("upItem"), "closeButton"))
        var sounds = ui_View.callsOf("playMedia_Index")
        compare(sounds[sounds.length - 1], "playMedia_Index(4)")
        tryVerify(function() { return ui_Ctl.callsOf("onMinimize").length === 1 })
    }

    function test_drag_moves_window() {
        var drag = item("dragRegion")
        mousePress(drag, 500, 560)
        mouseMove(drag, 510, 565)
        mouseMove(drag, 497, 560)
        mouseRelease(drag, 497, 560)
        compare(ui_Ctl.calls, ["onXChanged(10)", "onYChanged(5)", "onXChanged(-3)", "onYChanged(0)"])
    }

    function test_key_events_relayed() {
        var k3 = item("main_K3")
        var spy = keySpy
        spy.target = k3
        spy.clear()
        root.setProtectUI(5000)
        root.detectKeyboard(true, 0x04)
        root.detectKeyboard(false, 0x05)
        compare(spy.count, 2)
        compare(spy.signalArguments[0][0], true)
        compare(spy.signalArguments[0][1], 0x04)
        compare(spy.signalArguments[1][0], false)
        compare(k3.lastPressKeyCode, 0x04)
        root.setProtectUI(0)
    }
}
}
