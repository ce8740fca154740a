#include "inputhook.h"

#include "capturecore.h"
#include "inputsource.h"

#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcInput, "k3.input")

// One capture per process, as the platform hooks are.
std::unique_ptr<InputSource> activeSource;
} // namespace

InputHook::~InputHook()
{
    uninstall();
}

bool InputHook::install(bool flag)
{
    nonUsBackslash = flag;
    capture::fillTables(nonUsBackslash);
    if (activeSource)
        uninstall();
    activeSource = startInputSource();
    if (!activeSource) {
        qCInfo(lcInput) << "no input capture source available; running without capture";
        return false;
    }
    qCDebug(lcInput) << "input capture from" << activeSource->name();
    return true;
}

void InputHook::setKeyboardCallback(KeyboardHookCallback callback, void *context)
{
    capture::setKeyboardCallback(callback, context);
}

void InputHook::setMouseCallback(MouseHookCallback callback, void *context)
{
    capture::setMouseCallback(callback, context);
}

void InputHook::uninstall()
{
    if (activeSource) {
        activeSource->stop();
        activeSource.reset();
    }
}

const char *InputHook::sourceName()
{
    return activeSource ? activeSource->name() : "none";
}
