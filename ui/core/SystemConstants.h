// Numbers the toolkit shares with the Windows API: window messages, system commands,
// hit-test codes, window styles, virtual keys and message-box flags. Windows use them
// in both builds, so the Windows host passes system messages straight through and the
// other hosts deliver the same numbers.
#pragma once

#include <cstdint>

namespace ui {

// Messages a window's handlers see (CWindowWnd::HandleMessage).
constexpr uint32_t kWmCreate = 0x0001;
constexpr uint32_t kWmDestroy = 0x0002;
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmShowWindow = 0x0018;  // wParam 1 shown, 0 hidden
constexpr uint32_t kWmNcHitTest = 0x0084;   // lParam: screen x low 16 bits, y high 16 bits
constexpr uint32_t kWmKeyDown = 0x0100;     // wParam the virtual key
constexpr uint32_t kWmKeyUp = 0x0101;
constexpr uint32_t kWmSysKeyDown = 0x0104;
constexpr uint32_t kWmSysKeyUp = 0x0105;
constexpr uint32_t kWmSysCommand = 0x0112;  // wParam one of the kSc values
constexpr uint32_t kWmTimer = 0x0113;

constexpr uintptr_t kScMinimize = 0xF020;
constexpr uintptr_t kScMaximize = 0xF030;
constexpr uintptr_t kScClose = 0xF060;
constexpr uintptr_t kScRestore = 0xF120;

// Answers to kWmNcHitTest.
constexpr intptr_t kHtClient = 1;
constexpr intptr_t kHtCaption = 2;
constexpr intptr_t kHtLeft = 10;
constexpr intptr_t kHtRight = 11;
constexpr intptr_t kHtTop = 12;
constexpr intptr_t kHtTopLeft = 13;
constexpr intptr_t kHtTopRight = 14;
constexpr intptr_t kHtBottom = 15;
constexpr intptr_t kHtBottomLeft = 16;
constexpr intptr_t kHtBottomRight = 17;

// Window styles and extended styles, as CWindowWnd::Create takes them.
constexpr uint32_t kWsPopup = 0x80000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kWsClipSiblings = 0x04000000;
constexpr uint32_t kWsClipChildren = 0x02000000;
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsSysMenu = 0x00080000;
constexpr uint32_t kWsThickFrame = 0x00040000;
constexpr uint32_t kWsMinimizeBox = 0x00020000;
constexpr uint32_t kWsMaximizeBox = 0x00010000;
constexpr uint32_t kWsOverlappedWindow = 0x00CF0000;
constexpr uint32_t kWsExTopmost = 0x00000008;
constexpr uint32_t kWsExToolWindow = 0x00000080;

// Virtual keys (KeyEvent::key); letters and digits are their upper-case ASCII codes.
constexpr unsigned kVkBack = 0x08;
constexpr unsigned kVkTab = 0x09;
constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkEscape = 0x1B;
constexpr unsigned kVkSpace = 0x20;
constexpr unsigned kVkPrior = 0x21;
constexpr unsigned kVkNext = 0x22;
constexpr unsigned kVkEnd = 0x23;
constexpr unsigned kVkHome = 0x24;
constexpr unsigned kVkLeft = 0x25;
constexpr unsigned kVkUp = 0x26;
constexpr unsigned kVkRight = 0x27;
constexpr unsigned kVkDown = 0x28;
constexpr unsigned kVkDelete = 0x2E;
constexpr unsigned kVkF4 = 0x73;

// Message boxes (Host::ShowMessageBox).
constexpr unsigned kMbOk = 0x00;
constexpr unsigned kMbOkCancel = 0x01;
constexpr unsigned kMbIconError = 0x10;
constexpr unsigned kMbIconInformation = 0x40;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

}  // namespace ui
