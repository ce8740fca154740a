#include "winhooksource.h"

#include "capturecore.h"

#include <windows.h>

namespace {

HHOOK keyboardHook = nullptr;
HHOOK mouseHook = nullptr;

// Reads only the scan code and the flags of the record, never its virtual key,
// so that the translation does not depend on the active keyboard layout.
LRESULT CALLBACK keyboardProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        const auto *rec = reinterpret_cast<const KBDLLHOOKSTRUCT *>(lParam);
        const bool isDown = code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
        capture::keyEvent(rec->scanCode, (rec->flags & LLKHF_EXTENDED) != 0,
                          (rec->flags & LLKHF_ALTDOWN) != 0, isDown);
    }
    return CallNextHookEx(keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK mouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) {
        const auto *rec = reinterpret_cast<const MSLLHOOKSTRUCT *>(lParam);
        capture::mouseEvent(std::uint32_t(wParam), rec->pt.x, rec->pt.y);
    }
    return CallNextHookEx(mouseHook, code, wParam, lParam);
}

} // namespace

bool WinHookSource::start()
{
    stop();
    HINSTANCE module = GetModuleHandleW(nullptr);
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, keyboardProc, module, 0);
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, mouseProc, module, 0);
    if (keyboardHook && mouseHook)
        return true;
    stop();
    return false;
}

void WinHookSource::stop()
{
    if (keyboardHook)
        UnhookWindowsHookEx(keyboardHook);
    if (mouseHook)
        UnhookWindowsHookEx(mouseHook);
    keyboardHook = nullptr;
    mouseHook = nullptr;
}
