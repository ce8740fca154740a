import QtQuick

// Stands in for the main scene and records the root calls the core makes.
Item {
    width: 1000
    height: 600
    property var calls: []

    function record(text) { calls = calls.concat([text]) }
    function setProtectUI(interval) { record("setProtectUI:" + interval) }
    function initUI() { record("initUI") }
    function run() { record("run") }
    function zzzMorvel() { record("zzzMorvel") }
    function detectKeyboard(isDown, usbCode) { record("key:" + isDown + ":" + usbCode) }
    function detectMouse(isDown, code, x, y) { record("mouse:" + isDown + ":" + code) }
}
