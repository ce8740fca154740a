#include "hookcallbacks.h"

#include "myqquickview.h"
#include "widget.h"

void keyboardHookCallback(std::uint8_t usbCode, bool isDown, void *context)
{
    if (!context)
        return;
    if (myQQuickView *view = static_cast<Widget *>(context)->view())
        view->forwardKeyboardEvent(isDown, usbCode);
}

void mouseHookCallback(std::uint8_t code, bool isDown, std::int32_t x, std::int32_t y, void *context)
{
    if (!context)
        return;
    // Points go on as unsigned: a negative coordinate arrives as a large number.
    if (myQQuickView *view = static_cast<Widget *>(context)->view())
        view->forwardMouseEvent(isDown, code, uint(x), uint(y));
}
