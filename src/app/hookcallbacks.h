#pragma once

#include <cstdint>

// The input capture's callbacks. The context is the main Widget; they hand the
// event to its view, which queues it to the root document.
void keyboardHookCallback(std::uint8_t usbCode, bool isDown, void *context);
void mouseHookCallback(std::uint8_t code, bool isDown, std::int32_t x, std::int32_t y, void *context);
