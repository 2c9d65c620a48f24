#include "user_input.h"

#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "app_process.h"

namespace quorvel::e2e {
namespace {

bool IsExtendedKey(WORD key) {
    switch (key) {
        case VK_UP:
        case VK_DOWN:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
            return true;
        default:
            return false;
    }
}

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags =
        (up ? KEYEVENTF_KEYUP : 0u) | (IsExtendedKey(key) ? KEYEVENTF_EXTENDEDKEY : 0u);
    return input;
}

void Send(std::vector<INPUT> inputs) {
    const UINT sent =
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), static_cast<int>(sizeof(INPUT)));
    if (sent != inputs.size())
        throw std::runtime_error("SendInput took " + std::to_string(sent) + " of " +
                                 std::to_string(inputs.size()) + " inputs, error " +
                                 std::to_string(GetLastError()));
}

std::vector<INPUT> Chord(WORD key, std::initializer_list<WORD> held) {
    std::vector<INPUT> inputs;
    for (const WORD modifier : held) inputs.push_back(Key(modifier, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (auto modifier = std::rbegin(held); modifier != std::rend(held); ++modifier)
        inputs.push_back(Key(*modifier, true));
    return inputs;
}

// SendInput maps 0..65535 onto the primary screen; rounding up lands on the pixel asked for.
LONG Normalized(LONG pixel, int screenSize) {
    return static_cast<LONG>((static_cast<long long>(pixel) * 65536 + screenSize - 1) / screenSize);
}

INPUT Mouse(POINT point, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalized(point.x, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalized(point.y, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
    return input;
}

bool CursorAt(POINT point) {
    POINT at{};
    return GetCursorPos(&at) && at.x == point.x && at.y == point.y;
}

// Under Wine the program's X11 driver may still report where an earlier move put the X pointer
// and so take the cursor back there; the move counts once the cursor has stayed put a while.
void MoveMouse(POINT point) {
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    int steady = 0;
    Send({Mouse(point, 0)});
    while (steady < 5) {
        std::this_thread::sleep_for(10ms);
        if (CursorAt(point)) {
            ++steady;
            continue;
        }
        if (std::chrono::steady_clock::now() > end) {
            POINT at{};
            GetCursorPos(&at);
            throw std::runtime_error(
                "the mouse stays at (" + std::to_string(at.x) + ", " + std::to_string(at.y) +
                ") instead of (" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")");
        }
        steady = 0;
        Send({Mouse(point, 0)});
    }
}

}  // namespace

void BringToForeground(HWND window) {
    if (GetForegroundWindow() == window) return;
    SetForegroundWindow(window);
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    while (GetForegroundWindow() != window) {
        if (std::chrono::steady_clock::now() > end)
            throw std::runtime_error("the window did not come to the foreground");
        std::this_thread::sleep_for(2ms);
    }
}

void PressKey(WORD key, std::initializer_list<WORD> held) { Send(Chord(key, held)); }

void TypeKeys(std::string_view text) {
    std::vector<INPUT> inputs;
    for (const char c : text) {
        const SHORT scan = VkKeyScanW(static_cast<wchar_t>(static_cast<unsigned char>(c)));
        if (scan == -1 || (scan >> 8) & ~1)
            throw std::runtime_error(std::string("no plain key types '") + c + "'");
        const auto key = static_cast<WORD>(scan & 0xFF);
        const std::vector<INPUT> chord = (scan >> 8) & 1 ? Chord(key, {VK_SHIFT}) : Chord(key, {});
        inputs.insert(inputs.end(), chord.begin(), chord.end());
    }
    Send(std::move(inputs));
}

void ClickAt(POINT point) {
    MoveMouse(point);
    // Both halves name the point, so a late report of an old position cannot move the click.
    Send({Mouse(point, MOUSEEVENTF_LEFTDOWN), Mouse(point, MOUSEEVENTF_LEFTUP)});
}

void ParkMouse() {
    MoveMouse({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

POINT CentreOf(HWND window) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) throw std::runtime_error("the window has gone");
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

}  // namespace quorvel::e2e
