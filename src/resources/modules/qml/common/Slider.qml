import QtQuick

// Seven-step level control: the release position picks the level.
Item {
    id: slider
    property int minIndex: 0
    property int currentIndex: 7
    signal sliderClicked(int index)

    function setCurIndex(index) { currentIndex = index }
    function getCurIndex() { return currentIndex }
    // Level for a release at x inside the cell area.
    function indexAt(x) {
        var w = cells.width - 1
        var cx = Math.max(0, Math.min(w, x))
        return Math.max(minIndex, Math.ceil(cx / w * 7))
    }

    width: base.implicitWidth
    height: base.implicitHeight

    Image { id: base; source: sourceSlider }

    Item {
        id: cells
        objectName: "cells"
        x: 5; y: 1
        width: 7 * 20 + 1
        height: 21
        Row {
            spacing: -1
            Repeater {
                model: 7
                Image {
                    required property int index
                    objectName: "cell" + index
                    width: 21; height: 21
                    source: (ma.pressed ? x <= ma.mouseX : slider.currentIndex >= index + 1)
                            ? sourceSliderFiller1 : sourceSliderFiller0
                }
            }
        }
        MouseArea {
            id: ma
            anchors.fill: parent
            hoverEnabled: true
            onReleased: (mouse) => {
                slider.currentIndex = slider.indexAt(mouse.x)
                slider.sliderClicked(slider.currentIndex)
            }
        }
    }
}
