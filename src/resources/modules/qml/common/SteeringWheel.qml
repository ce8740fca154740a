import QtQuick

// Direction selector: a plus of five cells, of which only right (1) and left (2) react.
Item {
    id: wheel
    property int currentIndex: 1
    property int textSize: 12
    property color textColor: "#000000"
    signal wheelClicked(int index)

    function setCurIndex(index) { currentIndex = index }
    function getCurIndex() { return currentIndex }

    width: 21 * 3 - 2
    height: 21 * 3 - 2

    // Inline components do not see this document's ids, so each cell gets the wheel.
    component Cell: Image {
        id: cell
        property Item host
        property int cellIndex: 0
        property string arrow: ""
        readonly property bool active: arrow !== ""
        width: 21; height: 21
        source: active && (cellMa.containsMouse || cell.host.currentIndex === cellIndex)
                ? sourceSliderFiller1 : sourceSliderFiller0
        Text {
            anchors.centerIn: parent
            text: cell.arrow
            font.family: "Arial"
            font.bold: true
            font.pixelSize: cell.host.textSize
            color: cell.host.textColor
        }
        MouseArea {
            id: cellMa
            anchors.fill: parent
            enabled: cell.active
            hoverEnabled: true
            onClicked: {
                cell.host.currentIndex = cell.cellIndex
                cell.host.wheelClicked(cell.cellIndex)
            }
        }
    }

    Cell {
        id: center
        host: wheel
        objectName: "cell0"; cellIndex: 0
        anchors.centerIn: parent
    }
    Cell {
        host: wheel
        objectName: "cell1"; cellIndex: 1; arrow: "\u25BA"
        anchors.left: center.right; anchors.leftMargin: -1; anchors.verticalCenter: center.verticalCenter
    }
    Cell {
        host: wheel
        objectName: "cell2"; cellIndex: 2; arrow: "\u25C4"
        anchors.right: center.left; anchors.rightMargin: -1; anchors.verticalCenter: center.verticalCenter
    }
    Cell {
        host: wheel
        objectName: "cell3"; cellIndex: 3
        anchors.bottom: center.top; anchors.bottomMargin: -1; anchors.horizontalCenter: center.horizontalCenter
    }
    Cell {
        host: wheel
        objectName: "cell4"; cellIndex: 4
        anchors.top: center.bottom; anchors.topMargin: -1; anchors.horizontalCenter: center.horizontalCenter
    }
}
