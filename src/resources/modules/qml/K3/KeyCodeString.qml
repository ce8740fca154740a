import QtQuick

// Lookups between key names, USB usage codes and matrix positions.
Item {
    id: kcs
    property var matrix2keycode: ({})
    property var keycode2matrix: ({})
    property var str2keycode: ({})
    property var keycode2str: ({})

    function num(v) {
        var n = Number(v)
        return isNaN(n) ? v : n
    }

    function initUI(_HWDef, _UsbStr, _UsbCode) {
        if (_HWDef && _HWDef.length > 0) {
            var m2k = {}
            var k2m = {}
            var keys = num(_HWDef[0])
            // Six values per key after the two header values; a short list ends the walk.
            for (var i = 0; i < keys && 6 * i + 7 < _HWDef.length; ++i) {
                var matrix = num(_HWDef[6 * i + 6])
                var code = num(_HWDef[6 * i + 7])
                m2k[matrix] = code
                k2m[code] = matrix
            }
            matrix2keycode = m2k
            keycode2matrix = k2m
        }
        var s2k = {}
        var k2s = {}
        var strs = _UsbStr ? _UsbStr : []
        var codes = _UsbCode ? _UsbCode : []
        var j = Math.min(strs.length, codes.length)
        for (var p = 0; p < j; ++p) {
            var c = Number(codes[p])
            s2k[strs[p]] = c
            k2s[c] = strs[p]
        }
        str2keycode = s2k
        keycode2str = k2s
    }

    function lookup(map, key) {
        return Object.prototype.hasOwnProperty.call(map, key) ? map[key] : undefined
    }
    function strTokeycode(name) { return lookup(str2keycode, name) }
    function keycodeTostr(code) { return lookup(keycode2str, code) }
    function matrixTokeycode(matrix) { return lookup(matrix2keycode, matrix) }
    function keycodeTomatrix(code) { return lookup(keycode2matrix, code) }

    // Position (1 to 8) of the lowest set bit of the low byte, 0 when none is set.
    function logByte(value) {
        var v = value >>> 0
        for (var i = 0; i < 8; ++i) {
            if (v & (1 << i))
                return i + 1
        }
        return 0
    }
}
