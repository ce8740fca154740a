// Skin generator: themes, the table of every skin image, and the painters.
#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QVector>

namespace skin {

enum class Shape { Rounded, Chamfered };
enum class Texture { Hex, Brushed };

// One coherent look. Every painter takes its colours and corner style from here,
// so a new skin is a new Theme value.
struct Theme {
    int number;
    QColor base0, base1;       // window background, top and bottom
    QColor panel0, panel1;     // raised plates, top and bottom
    QColor well;               // recessed areas
    QColor edge;               // thin frame lines
    QColor edgeHi;             // highlight line on the upper edge of plates
    QColor accent, accentHi, accentDim;
    QColor glyph;              // pictograms in the normal state
    QColor cap0, cap1, capFace, capEdge;  // key caps
    QColor record;             // the record dot
    Shape shape;
    Texture texture;
    qreal corner;              // corner radius or chamfer of large plates
};

const Theme &theme(int number);
QVector<int> skinNumbers();

// What an image shows; the painter for each kind lives in painters.cpp.
enum class Kind {
    Background, FrameBackground, Decoration1, Decoration2, Logo,
    UpContainer, SettingButton, CloseButton, DnContainer,
    PfContainer, ProfileRow, FnButton, FnIconKey, FnIconMacro, FnIconColor,
    SettingsPanel, PageColor, PageKeydefine, PageCommon,
    SliderBase, SliderFiller, CheckBox, Line, InputField, PaletteIndex, Palette,
    TwoButtonFrame, ResetButton, ApplyButton, Mask, FileListBase,
    AddButton, DeleteButton, RecordButton, StopButton,
    SolidDelete, SolidCut, SolidPaste, SolidCopy,
    FileListFrame, ButtonFrame, KeyCap,
};

struct ImageEntry {
    QString path;   // inside the skin folder
    int width;
    int height;
    Kind kind;
    int state;      // 0 normal, 1 hovered or selected
    int keyType;    // key caps only
};

// Key cap shapes shared with the hardware definition: index = key type.
struct KeyShape { int type; double units; bool tall; bool isoEnter; };
const QVector<KeyShape> &keyShapes();
int keyCapWidth(double units);

// Every image of one skin folder; the same list for every skin.
QVector<ImageEntry> imageTable();

QImage render(const ImageEntry &entry, const Theme &theme);

// Lays out the images of the given skin folders side by side, one cell per
// name, with the name above; returns false if nothing could be read.
bool writeContactSheet(const QStringList &skinDirs, const QString &outFile, QString *error);

}  // namespace skin
