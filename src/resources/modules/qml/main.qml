import QtQuick

// Placeholder root document until the real main scene lands: it carries the
// root functions that the core calls.
Item {
    id: mainIten
    width: 1000
    height: 600

    property int protectInterval: 0

    function setProtectUI(interval) { protectInterval = interval }
    function initUI() {}
    function run() {}
    function zzzMorvel() {}
    function detectKeyboard(isDown, usbCode) {}
    function detectMouse(isDown, code, x, y) {}

    Rectangle { anchors.fill: parent; color: "#202428"; radius: 8 }
}
