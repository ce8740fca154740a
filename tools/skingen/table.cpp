// The two skins and the list of images every skin folder holds.
#include "skin.h"

#include <cmath>

namespace skin {

namespace {

const Theme kGraphite = {
    1,
    QColor(0x1b, 0x20, 0x26), QColor(0x0b, 0x0d, 0x10),
    QColor(0x2a, 0x31, 0x39), QColor(0x17, 0x1b, 0x20),
    QColor(0x07, 0x09, 0x0b),
    QColor(0x3c, 0x48, 0x54), QColor(0x5d, 0x6c, 0x7a),
    QColor(0x1c, 0xd6, 0xec), QColor(0x9c, 0xf6, 0xff), QColor(0x0f, 0x5d, 0x68),
    QColor(0x93, 0x9f, 0xab),
    QColor(0x31, 0x38, 0x40), QColor(0x1a, 0x1e, 0x23), QColor(0x24, 0x2a, 0x31), QColor(0x0a, 0x0c, 0x0e),
    QColor(0xe8, 0x3a, 0x3a),
    Shape::Rounded, Texture::Hex, 12,
};

const Theme kEmber = {
    2,
    QColor(0x22, 0x1a, 0x14), QColor(0x0d, 0x0a, 0x08),
    QColor(0x36, 0x2a, 0x20), QColor(0x1c, 0x15, 0x10),
    QColor(0x0a, 0x07, 0x05),
    QColor(0x57, 0x42, 0x2e), QColor(0x7e, 0x63, 0x47),
    QColor(0xff, 0xa0, 0x1e), QColor(0xff, 0xd9, 0x8c), QColor(0x74, 0x48, 0x0e),
    QColor(0xb0, 0xa0, 0x8e),
    QColor(0x3a, 0x2f, 0x26), QColor(0x1f, 0x19, 0x14), QColor(0x2b, 0x23, 0x1c), QColor(0x0c, 0x09, 0x07),
    QColor(0xf0, 0x48, 0x30),
    Shape::Chamfered, Texture::Brushed, 14,
};

void add(QVector<ImageEntry> &t, const QString &path, int w, int h, Kind kind, int state = 0)
{
    t.append({path, w, h, kind, state, 0});
}

// A name ending in _0/_1 (or -0/-1): the two states of one element, same size.
void addPair(QVector<ImageEntry> &t, const QString &stem, const QString &sep, int w, int h, Kind kind)
{
    for (int s = 0; s < 2; ++s)
        add(t, stem + sep + QString::number(s) + QStringLiteral(".png"), w, h, kind, s);
}

}  // namespace

const Theme &theme(int number)
{
    return number == 2 ? kEmber : kGraphite;
}

QVector<int> skinNumbers()
{
    return {1, 2};
}

// About 30 pixels per unit with a 2-pixel gap between neighbouring caps.
int keyCapWidth(double units)
{
    return int(std::floor(units * 30.0 + 0.5)) - 2;
}

const QVector<KeyShape> &keyShapes()
{
    static const QVector<KeyShape> shapes = {
        {1, 1.0, false, false},  {2, 1.25, false, false}, {3, 1.5, false, false},
        {4, 1.75, false, false}, {5, 2.0, false, false},  {6, 2.25, false, false},
        {7, 2.75, false, false}, {8, 6.25, false, false}, {9, 1.0, true, false},
        {10, 1.5, true, true},
    };
    return shapes;
}

QVector<ImageEntry> imageTable()
{
    QVector<ImageEntry> t;
    const QString S = QStringLiteral("_");

    // Window and frame.
    add(t, "background.png", 1000, 600, Kind::Background);
    add(t, "frame/frameBackground.png", 1000, 600, Kind::FrameBackground);
    add(t, "frame/decoration1.png", 120, 24, Kind::Decoration1);
    add(t, "frame/decoration2.png", 120, 24, Kind::Decoration2);
    addPair(t, "frame/web", S, 150, 40, Kind::Logo);

    // Top and bottom menus.
    add(t, "list_up/listUpContainer.png", 984, 18, Kind::UpContainer);
    addPair(t, "list_up/applicationSetting", S, 22, 22, Kind::SettingButton);
    addPair(t, "list_up/applicationMinimize", S, 22, 22, Kind::CloseButton);
    add(t, "list_dn/listDnContainer.png", 982, 40, Kind::DnContainer);

    // Profile menu and function menu.
    add(t, "list_pf/listPfContainer.png", 95, 380, Kind::PfContainer);
    addPair(t, "list_pf/profileFW", S, 49, 26, Kind::ProfileRow);
    addPair(t, "list_fn/listFnBtn", S, 150, 37, Kind::FnButton);
    addPair(t, "list_fn/fnKeydefine", S, 24, 24, Kind::FnIconKey);
    addPair(t, "list_fn/fnMacro", S, 24, 24, Kind::FnIconMacro);
    addPair(t, "list_fn/fnColor", S, 24, 24, Kind::FnIconColor);

    // Panel and page backgrounds.
    add(t, "list_center/globalsettingBackground.png", 340, 420, Kind::SettingsPanel);
    add(t, "list_center/fnColorBackground.png", 759, 442, Kind::PageColor);
    add(t, "list_center/fnKeydefineBackground.png", 759, 442, Kind::PageKeydefine);
    add(t, "list_center/fnCommonBackground.png", 759, 396, Kind::PageCommon);

    // Controls.
    add(t, "common/slider_BASE.png", 145, 23, Kind::SliderBase);
    addPair(t, "common/slider_FILLER", S, 20, 21, Kind::SliderFiller);
    addPair(t, "common/checkbox", S, 13, 13, Kind::CheckBox);

    // Page furniture.
    add(t, "common/draw_line.png", 630, 1, Kind::Line);
    add(t, "common/draw_inputValue.png", 39, 13, Kind::InputField);
    add(t, "common/draw_paletteIndex.png", 145, 36, Kind::PaletteIndex);
    add(t, "common/draw_palette.png", 96, 20, Kind::Palette);
    add(t, "common/fram_2btn.png", 63, 23, Kind::TwoButtonFrame);
    addPair(t, "common/reset", S, 31, 21, Kind::ResetButton);
    addPair(t, "common/apply", S, 31, 21, Kind::ApplyButton);
    add(t, "common/mask.png", 146, 212, Kind::Mask);

    // Macro page.
    add(t, "common/filelist_BASE.png", 151, 200, Kind::FileListBase);
    addPair(t, "common/add", S, 21, 21, Kind::AddButton);
    addPair(t, "common/delete", S, 21, 21, Kind::DeleteButton);
    addPair(t, "common/record", S, 21, 21, Kind::RecordButton);
    addPair(t, "common/stop", S, 21, 21, Kind::StopButton);
    addPair(t, "common/solid-delete", S, 21, 21, Kind::SolidDelete);
    addPair(t, "common/solid-cut", S, 21, 21, Kind::SolidCut);
    addPair(t, "common/solid-paste", S, 21, 21, Kind::SolidPaste);
    addPair(t, "common/solid-copy", S, 21, 21, Kind::SolidCopy);
    add(t, "common/btnFileListFrame.png", 143, 226, Kind::FileListFrame);
    add(t, "common/btnFrame.png", 23, 23, Kind::ButtonFrame);

    // Key caps: k<type>-0 the cap, k<type>-1 the selection frame drawn over it.
    for (const KeyShape &k : keyShapes()) {
        const int w = keyCapWidth(k.units);
        const int h = k.tall ? keyCapWidth(2.0) : keyCapWidth(1.0);
        for (int s = 0; s < 2; ++s)
            t.append({QStringLiteral("model_kb/k%1-%2.png").arg(k.type).arg(s), w, h, Kind::KeyCap, s, k.type});
    }
    return t;
}

}  // namespace skin
