import QtQuick

// Stand-in for the root document when a test places a control on its own:
// the global values and skin images the controls read by name.
Item {
    width: 1000
    height: 600
    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 800
    property var globalSetting_stringList: ["Arial", "OPTIONS"]
    property string globalSetting_fontFamily: "Arial"
    property int skin_No: 1
    readonly property string skinFolder: "file:modules/img/skin" + skin_No + "/"
    property string sourceSlider: skinFolder + "common/slider_BASE.png"
    property string sourceSliderFiller0: skinFolder + "common/slider_FILLER_0.png"
    property string sourceSliderFiller1: skinFolder + "common/slider_FILLER_1.png"
    property string sourceLine: skinFolder + "common/draw_line.png"
    property string sourceFilelist: skinFolder + "common/filelist_BASE.png"
}
