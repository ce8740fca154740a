// Macro slots of the view: they forward to the macro store and the encoder and
// carry a macro into a keyboard macro slot.
#include "myqquickview.h"

#include "hid_thread.h"
#include "macroencoding.h"
#include "macrostore.h"

#include <QStandardPaths>

namespace {

const QString kMacroFolder = QStringLiteral("./modules/macro/");

// The store is made on first use, as a child of the view; a test may set its own first.
MacroStore &storeOf(myQQuickView *view)
{
    if (!view->macroStore)
        view->macroStore = new MacroStore(kMacroFolder, view);
    return *view->macroStore;
}

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

void myQQuickView::loadMacroIniFromFile(QVariant name)
{
    MacroStore &store = storeOf(this);
    const QString source =
        store.dialogs()->openFileName(this, tr("Open File"), desktopFolder(), tr("Macro(*.mc)"));
    if (source.isEmpty())
        return;
    store.importFrom(name.toString(), source);
}

void myQQuickView::saveMacroIniToFile(QVariant name)
{
    MacroStore &store = storeOf(this);
    if (!store.exists(name.toString()))
        return;
    const QString target =
        store.dialogs()->saveFileName(this, tr("Save File"), desktopFolder(), tr("Macro(*.mc)"));
    if (target.isEmpty())
        return;
    store.exportTo(name.toString(), target);
}

void myQQuickView::renameMacroIniFile(QVariant oldName, QVariant newName)
{
    storeOf(this).rename(oldName.toString(), newName.toString());
}

void myQQuickView::initMacroIni(uchar maxMacro)
{
    storeOf(this).init(maxMacro);
}

QVariant myQQuickView::createMacroIni()
{
    return storeOf(this).create();
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return storeOf(this).remove(name.toString());
}

QStringList myQQuickView::getMacroIniNames()
{
    return storeOf(this).names();
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros)
{
    const QString macroName = name.toString();
    // A macro bound to a keyboard slot goes to the keyboard again at once.
    return storeOf(this).save(macroName, macros,
                              [this, macroName](int slot) { ui_10H_SetMacroKey(slot, macroName); });
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return storeOf(this).load(name.toString());
}

QVariantList myQQuickView::loadMacroIniConfig(QVariant name)
{
    return storeOf(this).loadConfig(name.toString());
}

void myQQuickView::setMacroIniConfig(QVariant name, QVariantList config)
{
    storeOf(this).setConfig(name.toString(), config, hid ? hid->currentDevice() : 0u);
}

QList<uchar> myQQuickView::macroIncode(QStringList macros)
{
    return ::macroIncode(macros, usbCodeMap);
}

void myQQuickView::ui_10H_SetMacroKey(QVariant macroId, QVariant name)
{
    const QList<uchar> stream = ::macroIncode(loadMacroIni(name), usbCodeMap);
    MacroSlotBuffer buffer;
    // A stream that does not fit is not sent at all: the keyboard keeps the
    // last complete macro rather than one cut short of its end.
    if (!fillMacroSlot(stream, buffer)) {
        const MacroWarningText warning = macroTooLongWarning(msgStrings);
        storeOf(this).dialogs()->warning(nullptr, tr("%1").arg(warning.title),
                                         tr("%1").arg(warning.text));
        return;
    }
    if (hid)
        hid->hid_10H_SetMacroKey(uchar(macroId.toInt() & 0xFF), buffer.data());
}
