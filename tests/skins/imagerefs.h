// Finds the skin image names that UI documents can produce.
#pragma once

#include <QRegularExpression>
#include <QString>
#include <QVector>

namespace skinrefs {

// One image name that a document builds: the file path inside a skin folder,
// with '*' where the document inserts a value at run time
// ("model_kb/k*-0.png" for "…/model_kb/k" + keyType + "-0.png").
struct ImageRef {
    QString pattern;
    int line = 0;
    // How the name is tied to the skin folder: Rooted when the document spells
    // the skin prefix ("…modules/img/skin" + n + "/…"), Tail when a leading
    // value was cut off (it may end in part of a file name), Relative when the
    // name stands alone (another value supplies the folder).
    enum Anchor { Rooted, Tail, Relative } anchor = Relative;

    QRegularExpression regex() const;
    bool matches(const QString &relativePath) const;
};

// Every skin image name in a document's text. Strings that are clearly no skin
// image (resources, web and absolute paths, other folders of modules/) are left out.
QVector<ImageRef> scanDocument(const QString &text);

}  // namespace skinrefs
