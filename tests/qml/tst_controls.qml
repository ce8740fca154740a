import QtQuick
import QtTest
import "../../src/resources/modules/qml/common"

TestRoot {
    id: mainIten

    Slider { id: slider; x: 20; y: 20 }
    SteeringWheel { id: wheel; x: 20; y: 60 }
    DropdownList {
        id: dd
        x: 300; y: 20; width: 150; height: 21
        mdItems: ListModel {
            ListElement { textX: "ON" }
            ListElement { textX: "OFF" }
        }
    }

    SignalSpy { id: sliderSpy; target: slider; signalName: "sliderClicked" }
    SignalSpy { id: wheelSpy; target: wheel; signalName: "wheelClicked" }
    SignalSpy { id: elementSpy; target: dd; signalName: "listElementClicked" }
    SignalSpy { id: closedSpy; target: dd; signalName: "listClosed" }

    TestCase {
        name: "Controls"
        when: windowShown

        function litCells() {
            var n = 0
            for (var i = 0; i < 7; ++i)
                if (findChild(slider, "cell" + i).source.toString() === sourceSliderFiller1)
                    ++n
            return n
        }

        function test_slider_release_data() {
            return [
                { tag: "left end", x: 0, minIndex: 0, expect: 0 },
                { tag: "first pixel", x: 1, minIndex: 0, expect: 1 },
                { tag: "end of cell 1", x: 20, minIndex: 0, expect: 1 },
                { tag: "start of cell 2", x: 21, minIndex: 0, expect: 2 },
                { tag: "end of cell 6", x: 120, minIndex: 0, expect: 6 },
                { tag: "start of cell 7", x: 121, minIndex: 0, expect: 7 },
                { tag: "last pixel", x: 140, minIndex: 0, expect: 7 },
                { tag: "right of the area", x: 300, minIndex: 0, expect: 7 },
                { tag: "left of the area", x: -30, minIndex: 0, expect: 0 },
                { tag: "minIndex at left end", x: 0, minIndex: 1, expect: 1 },
                { tag: "minIndex above ceil", x: 25, minIndex: 4, expect: 4 },
            ]
        }
        function test_slider_release(data) {
            slider.minIndex = data.minIndex
            slider.setCurIndex(3)
            sliderSpy.clear()
            var cells = findChild(slider, "cells")
            mousePress(cells, Math.max(0, Math.min(140, data.x)), 10)
            mouseRelease(cells, data.x, 10)
            compare(slider.getCurIndex(), data.expect)
            compare(sliderSpy.count, 1)
            compare(sliderSpy.signalArguments[0][0], data.expect)
            compare(litCells(), data.expect)
        }
        // The index functions bypass minIndex.
        function test_slider_setCurIndex_ignores_minIndex() {
            slider.minIndex = 1
            slider.setCurIndex(0)
            compare(slider.getCurIndex(), 0)
            compare(litCells(), 0)
        }

        function test_wheel_data() {
            return [
                { tag: "centre", cell: 0, expect: 2, signals: 0 },
                { tag: "right", cell: 1, expect: 1, signals: 1 },
                { tag: "left", cell: 2, expect: 2, signals: 1 },
                { tag: "top", cell: 3, expect: 2, signals: 0 },
                { tag: "bottom", cell: 4, expect: 2, signals: 0 },
            ]
        }
        function test_wheel(data) {
            wheel.setCurIndex(2)
            wheelSpy.clear()
            mouseClick(findChild(wheel, "cell" + data.cell))
            compare(wheel.getCurIndex(), data.expect)
            compare(wheelSpy.count, data.signals)
        }

        function init() {
            dd.closeList()
            tryCompare(dd, "isSelect", false)
            wait(dd.slideDuration + 50)
            dd.setCurIndex(-1)
            elementSpy.clear()
            closedSpy.clear()
        }

        function test_dropdown_header_text_data() {
            return [
                { tag: "none", index: -1, text: "\u3010 OPTIONS \u3011" },
                { tag: "first", index: 0, text: "ON" },
                { tag: "beyond the end", index: 2, text: "\u3010 OPTIONS \u3011" },
            ]
        }
        function test_dropdown_header_text(data) {
            dd.setCurIndex(data.index)
            compare(findChild(dd, "headerText").text, data.text)
        }

        // A second click during the opening slide finishes the opening instead of closing.
        function test_dropdown_quick_header_clicks() {
            var header = findChild(dd, "header")
            mouseClick(header)
            mouseClick(header)
            compare(dd.isSelect, true)
            verify(findChild(dd, "listArea").visible)
            compare(findChild(dd, "listArea").contentY, 0)
            compare(closedSpy.count, 0)
            mouseClick(header)
            tryCompare(dd, "isSelect", false)
            tryCompare(closedSpy, "count", 1)
            tryCompare(findChild(dd, "listArea"), "visible", false)
        }

        // Choosing while the list still slides open completes it, then closes it.
        function test_dropdown_element_click_while_opening() {
            var area = findChild(dd, "listArea")
            mouseClick(findChild(dd, "header"))
            tryVerify(function() { return area.contentY < area.height / 2 })
            compare(dd.isSelect, false)
            mouseClick(findChild(dd, "element1"), 10, 5)
            compare(elementSpy.count, 1)
            compare(elementSpy.signalArguments[0][0], 1)
            compare(dd.getCurIndex(), 1)
            tryCompare(closedSpy, "count", 1)
            compare(dd.isSelect, false)
            tryCompare(area, "visible", false)
        }
    }
}
