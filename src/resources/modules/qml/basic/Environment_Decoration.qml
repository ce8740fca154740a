import QtQuick

// The two decoration images at the top corners.
Item {
    width: 1000
    height: 600
    Image {
        source: sourceDecoration1
        x: 78 - width / 2
        y: 93 - height / 2
    }
    Image {
        source: sourceDecoration2
        x: 923 - width / 2
        y: 93 - height / 2
    }
}
