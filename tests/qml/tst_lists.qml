import QtQuick
import QtTest
import "../../src/resources/modules/qml/common"
import "../../src/resources/modules/qml/K3"

TestRoot {
    id: mainIten

    KeyCodeString { id: kcs }
    FileList {
        id: fl
        x: 10; y: 10
        mdItems: ListModel { id: files }
    }
    FileListButton {
        id: flb
        x: 400; y: 10; width: 150; height: 21
        mdItems: ListModel {
            ListElement { textX: "Macro 1"; textR: "" }
        }
    }

    SignalSpy { id: clickSpy; target: fl; signalName: "listElementClicked" }
    SignalSpy { id: rightSpy; target: fl; signalName: "listElementRightBtnClicked" }
    SignalSpy { id: startSpy; target: fl; signalName: "editFileName_start" }
    SignalSpy { id: doneSpy; target: fl; signalName: "editFileName_completed" }
    SignalSpy { id: flbClosedSpy; target: flb; signalName: "listClosed" }
    Item { id: elsewhere; focus: false }

    TestCase {
        name: "KeyCodeAndFileLists"
        when: windowShown

        // Hardware definition: 3 keys, matrix size, then x, y, type, name, matrix, code per key.
        // Keys 1 and 2 share the default code 0x29, so the later one wins.
        readonly property var hwDef: [3, 128,
            0, 0, 1, "ESC", "0", "41",
            20, 0, 1, "F1", 5, 0x29,
            40, 0, 1, "F2", 6, 0x29]

        function test_lookups_data() {
            return [
                { tag: "matrix to code", fn: "matrixTokeycode", arg: 0, expect: 41 },
                { tag: "code to matrix, later key wins", fn: "keycodeTomatrix", arg: 0x29, expect: 6 },
                { tag: "code of no key", fn: "keycodeTomatrix", arg: 0x77, expect: undefined },
                { tag: "name to code", fn: "strTokeycode", arg: "A", expect: 4 },
                { tag: "code to name", fn: "keycodeTostr", arg: 5, expect: "B" },
                { tag: "name without code", fn: "strTokeycode", arg: "C", expect: undefined },
                { tag: "code without name", fn: "keycodeTostr", arg: 6, expect: undefined },
                { tag: "no inherited names", fn: "strTokeycode", arg: "toString", expect: undefined },
            ]
        }
        // The name list has 3 entries and the code list 2: only two pairs exist.
        function test_lookups(data) {
            kcs.initUI(hwDef, ["A", "B", "C"], ["4", "5"])
            compare(kcs[data.fn](data.arg), data.expect)
        }

        function test_empty_hwdef_keeps_matrix_maps() {
            kcs.initUI(hwDef, [], [])
            kcs.initUI([], ["A"], [4])
            compare(kcs.matrixTokeycode(5), 0x29)
            compare(kcs.strTokeycode("A"), 4)
        }
        // A key count larger than the list must not walk past its end.
        function test_truncated_hwdef() {
            kcs.initUI([5, 128, 0, 0, 1, "ESC", 3, 41], [], [])
            compare(kcs.matrixTokeycode(3), 41)
            compare(Object.keys(kcs.matrix2keycode).length, 1)
        }

        function test_logByte_data() {
            return [
                { value: 0x0C, expect: 3 },
                { value: 0x100, expect: 0 },
                { value: 0x01, expect: 1 },
                { value: 0x80, expect: 8 },
                { value: 0, expect: 0 },
                { value: -1, expect: 1 },
            ]
        }
        function test_logByte(data) {
            compare(kcs.logByte(data.value), data.expect)
        }

        function init() {
            files.clear()
            files.append({ "textX": "alpha", "textR": "1" })
            files.append({ "textX": "beta", "textR": "2" })
            files.append({ "textX": "gamma", "textR": "3" })
            fl.lvItems.currentIndex = -1
            clickSpy.clear(); rightSpy.clear(); startSpy.clear(); doneSpy.clear()
            waitForRendering(fl)
        }
        function row(i) { return findChild(fl, "row" + i) }

        function test_filelist_select_and_deselect() {
            mouseClick(row(1))
            compare(fl.lvItems.currentIndex, 1)
            mouseClick(row(1))
            compare(fl.lvItems.currentIndex, -1)
            compare(clickSpy.count, 2)
            compare(clickSpy.signalArguments[0][0], 1)
            compare(clickSpy.signalArguments[1][0], -1)
            mouseClick(row(2), 10, 10, Qt.RightButton)
            compare(rightSpy.signalArguments[0][0], 2)
            compare(fl.lvItems.currentIndex, -1)
        }

        function test_filelist_empty_model_resets_selection() {
            mouseClick(row(2))
            compare(fl.lvItems.currentIndex, 2)
            files.clear()
            compare(fl.lvItems.currentIndex, -1)
            files.append({ "textX": "new", "textR": "" })
            compare(fl.lvItems.currentIndex, -1)
        }

        function test_rename_with_return() {
            fl.editFileName(1)
            compare(startSpy.signalArguments[0][0], 1)
            var input = findChild(row(1), "input")
            verify(input.activeFocus)
            keyClick(Qt.Key_Z)
            keyClick(Qt.Key_Return)
            compare(doneSpy.count, 1)
            compare(doneSpy.signalArguments[0][0], "beta")
            compare(doneSpy.signalArguments[0][1], "z")
            compare(files.get(1).textX, "z")
            verify(!input.activeFocus)
        }

        // Losing the focus first resets the text; the edit stays open and a later
        // stop reports the old name twice.
        function test_rename_focus_lost_then_stop() {
            fl.editFileName(0)
            var input = findChild(row(0), "input")
            keyClick(Qt.Key_Q)
            compare(input.text, "q")
            elsewhere.forceActiveFocus()
            compare(input.text, "alpha")
            compare(doneSpy.count, 0)
            fl.stopEditFileName()
            compare(doneSpy.count, 1)
            compare(doneSpy.signalArguments[0][0], "alpha")
            compare(doneSpy.signalArguments[0][1], "alpha")
            fl.stopEditFileName()
            compare(doneSpy.count, 1)
        }

        function test_filelistbutton_close_while_opening() {
            var header = findChild(flb, "header")
            flbClosedSpy.clear()
            mouseClick(header)
            compare(flb.isSelect, false)
            flb.closeList()
            tryCompare(flbClosedSpy, "count", 1)
            compare(flb.isSelect, false)
            tryCompare(findChild(flb, "listArea"), "visible", false)
        }
    }
}
