import QtQuick

// Window background (skin or the user's picture) with the frame drawn over it.
Item {
    width: 1000
    height: 600
    Image {
        objectName: "background"
        anchors.fill: parent
        source: isCustomBackground ? sourceCustomBackground : sourceBackground
    }
    Image { source: sourceFrameBackground }
}
