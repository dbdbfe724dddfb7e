// The names of the windows, their controls and the tray menu items. Control ids are unique
// within their window only, like the names.
#pragma once
#include <windows.h>

namespace ui {

enum class WindowKind : int { Main, NewConnection, About };

struct ControlId {
    WindowKind window;
    int id;
};

namespace main_window {
inline constexpr ControlId 标签4{WindowKind::Main, 101};
inline constexpr ControlId 组合框1{WindowKind::Main, 102};
inline constexpr ControlId 按钮3{WindowKind::Main, 103};
inline constexpr ControlId 按钮2{WindowKind::Main, 104};
inline constexpr ControlId 标签1{WindowKind::Main, 105};
inline constexpr ControlId 编辑框1{WindowKind::Main, 106};
inline constexpr ControlId 标签2{WindowKind::Main, 107};
inline constexpr ControlId 编辑框2{WindowKind::Main, 108};
inline constexpr ControlId 选择框1{WindowKind::Main, 109};
inline constexpr ControlId 选择框2{WindowKind::Main, 110};
inline constexpr ControlId 编辑框3{WindowKind::Main, 111};
inline constexpr ControlId 标签3{WindowKind::Main, 112};
inline constexpr ControlId 选择框3{WindowKind::Main, 113};
inline constexpr ControlId 选择框4{WindowKind::Main, 114};
inline constexpr ControlId 选择框5{WindowKind::Main, 115};
inline constexpr ControlId 标签5{WindowKind::Main, 116};
inline constexpr ControlId 编辑框4{WindowKind::Main, 117};
inline constexpr ControlId 标签6{WindowKind::Main, 118};
inline constexpr ControlId 按钮1{WindowKind::Main, 119};
inline constexpr ControlId 超级链接框2{WindowKind::Main, 120};
inline constexpr ControlId 超级链接框1{WindowKind::Main, 121};
inline constexpr ControlId 状态条1{WindowKind::Main, 122};
inline constexpr ControlId 分组框1{WindowKind::Main, 123};
inline constexpr ControlId 列表框1{WindowKind::Main, 124};
}  // namespace main_window

namespace new_connection_window {
inline constexpr ControlId 标签3{WindowKind::NewConnection, 201};
inline constexpr ControlId 编辑框3{WindowKind::NewConnection, 202};
inline constexpr ControlId 标签1{WindowKind::NewConnection, 203};
inline constexpr ControlId 编辑框1{WindowKind::NewConnection, 204};
inline constexpr ControlId 标签2{WindowKind::NewConnection, 205};
inline constexpr ControlId 编辑框2{WindowKind::NewConnection, 206};
inline constexpr ControlId 按钮1{WindowKind::NewConnection, 207};
}  // namespace new_connection_window

namespace about_window {
inline constexpr ControlId 超级链接框1{WindowKind::About, 301};
inline constexpr ControlId 图片框1{WindowKind::About, 302};
inline constexpr ControlId 透明标签1{WindowKind::About, 303};
inline constexpr ControlId 超级链接框2{WindowKind::About, 304};
inline constexpr ControlId 透明标签2{WindowKind::About, 305};
}  // namespace about_window

// Command ids of 托盘菜单's items, in menu order.
enum class TrayMenuItem : UINT { 拨号 = 401, 断线, 重播, 关于, 显示界面, 退出 };

}  // namespace ui
