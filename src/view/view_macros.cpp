// Macro slots of the view: macro files and the encoding sent to the keyboard.
#include "myqquickview.h"

void myQQuickView::loadMacroIniFromFile(QVariant name) { Q_UNUSED(name); }
void myQQuickView::saveMacroIniToFile(QVariant name) { Q_UNUSED(name); }
void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName)
{
    Q_UNUSED(oldName);
    Q_UNUSED(newName);
}

void myQQuickView::initMacroIni(uchar maxMacro) { Q_UNUSED(maxMacro); }
QVariant myQQuickView::createMacroIni() { return {}; }
QVariant myQQuickView::deleteMacroIni(QVariant name) { Q_UNUSED(name); return {}; }
QStringList myQQuickView::getMacroIniNames() { return {}; }
QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros)
{
    Q_UNUSED(name);
    Q_UNUSED(macros);
    return {};
}
QStringList myQQuickView::loadMacroIni(QVariant name) { Q_UNUSED(name); return {}; }
QVariantList myQQuickView::loadMacroIniConfig(QVariant name) { Q_UNUSED(name); return {}; }
void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config)
{
    Q_UNUSED(name);
    Q_UNUSED(config);
}

QList<uchar> myQQuickView::macroIncode(QStringList macros) { Q_UNUSED(macros); return {}; }

void myQQuickView::ui_10H_SetMacroKey(QVariant macroId, QVariant name)
{
    Q_UNUSED(macroId);
    Q_UNUSED(name);
}
