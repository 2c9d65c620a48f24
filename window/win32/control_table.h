// The main window and its thirteen controls as data: one row per control in creation order, with
// its kind, container, text, place in twips and tab index. The window builds and lays out every
// control from these rows.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorvel::win32 {

enum class ControlKind { Picture, Frame, Button, ComboBox, TextBox, Label };

// The ids double as WM_COMMAND ids. They stay clear of IDOK and IDCANCEL, which the dialog
// manager sends for Enter and Esc.
enum class ControlId : int {
    Main = 0,  // the window's client area, as a container
    Picture1 = 100,
    Frame3,
    Command5,
    Command4,
    Command3,
    Command2,
    frame1,
    Combo1,
    Frame2,
    Text1,
    Text2,
    Label2,
    Label1,
};

struct ControlRow {
    ControlId id;
    ControlKind kind;
    ControlId container;
    std::string_view text;  // UTF-8
    // Twips, measured from the container's top-left corner.
    int left;
    int top;
    int width;
    int height;
    int tabIndex;
};

struct WindowRow {
    std::string_view caption;  // also the title of every message box
    int clientWidth;           // twips
    int clientHeight;
};

inline constexpr WindowRow kMainWindow{"Quorvel", 4830, 3225};

// clang-format off
inline constexpr auto kControls = std::to_array<ControlRow>({
    {ControlId::Picture1, ControlKind::Picture,  ControlId::Main,   "",           0,    0,    4815, 1335, 12},
    {ControlId::Frame3,   ControlKind::Frame,    ControlId::Main,   "操作",       2550, 2100, 2260, 1020, 7},
    {ControlId::Command5, ControlKind::Button,   ControlId::Frame3, "帮 助",      1210, 600,  1000, 340,  11},
    {ControlId::Command4, ControlKind::Button,   ControlId::Frame3, "自动获取",   1210, 240,  1000, 340,  10},
    {ControlId::Command3, ControlKind::Button,   ControlId::Frame3, "自定义设置", 60,   600,  1150, 340,  9},
    {ControlId::Command2, ControlKind::Button,   ControlId::Frame3, "设置Quorvel", 60,  240,  1150, 340,  8},
    {ControlId::frame1,   ControlKind::Frame,    ControlId::Main,   "请选择网卡", 20,   1400, 4800, 615,  0},
    {ControlId::Combo1,   ControlKind::ComboBox, ControlId::frame1, "",           120,  240,  4575, 300,  1},
    {ControlId::Frame2,   ControlKind::Frame,    ControlId::Main,   "DNS设置",    0,    2100, 2535, 1020, 2},
    {ControlId::Text1,    ControlKind::TextBox,  ControlId::Frame2, "",           720,  260,  1695, 300,  4},
    {ControlId::Text2,    ControlKind::TextBox,  ControlId::Frame2, "",           720,  600,  1695, 300,  3},
    {ControlId::Label2,   ControlKind::Label,    ControlId::Frame2, "辅DNS",      120,  675,  520,  195,  6},
    {ControlId::Label1,   ControlKind::Label,    ControlId::Frame2, "主DNS",      120,  315,  520,  180,  5},
});
// clang-format on

// Exactly the window's thirteen controls: a row lost in an edit must not go unnoticed.
static_assert(kControls.size() == 13);

// The position of `id`'s row, which must exist, in kControls.
std::size_t IndexOf(ControlId id);

inline const ControlRow& FindControl(ControlId id) { return kControls[IndexOf(id)]; }

}  // namespace quorvel::win32
