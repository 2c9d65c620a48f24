// Input as a user gives it: keystrokes and mouse clicks through SendInput. The window system
// queues them like the keyboard's and the mouse's own to the foreground window's thread, which
// takes them through its own message loop, dialog manager included, in the order given.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace quorvel::e2e {

// Makes `window` the foreground window, so that the keyboard reaches it; throws when it does not
// become so within the deadline.
void BringToForeground(HWND window);

// Presses and releases `key` while the `held` keys (VK_SHIFT, VK_MENU ...) are down.
void PressKey(WORD key, std::initializer_list<WORD> held = {});
// Types ASCII text key by key through the keyboard layout, with Shift where a character needs it.
void TypeKeys(std::string_view text);

// Moves the mouse to the point (screen coordinates) and clicks the left button there.
void ClickAt(POINT point);
// Moves the mouse, without a click, to the screen's bottom-right corner.
void ParkMouse();
// The middle of the window on the screen.
POINT CentreOf(HWND window);

}  // namespace quorvel::e2e
