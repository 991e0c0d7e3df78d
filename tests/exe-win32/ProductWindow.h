// Drives the product's window from outside, as a user would: starts the exe, finds its
// top-level windows, reads their pixels, and posts clicks, keys and typed text placed from
// the layouts' geometry.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "WaitUntil.h"
#include "ui/win32/GdiObject.h"
#include "ui/win32/GdiSelection.h"
#include "ui/win32/WindowDc.h"

namespace exetest {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kStartTimeout = 20s;
constexpr auto kEndTimeout = 10s;

inline std::wstring ProductPath() {
  const wchar_t* path = _wgetenv(L"QUORVEL_PRODUCT_UNDER_TEST");
  return path ? path : L"";
}

// How many processes the product's job has held, and holds now, the product included.
struct ProgramCounts {
  DWORD started = 0;
  DWORD running = 0;
};

// The started product; ended by force if a test leaves it running. It runs in a job of its
// own, which the programs it starts join, so that they can be counted from here.
class Product {
 public:
  // directory: the current directory it starts in; null keeps this program's.
  explicit Product(const std::wstring& path = ProductPath(), const wchar_t* directory = nullptr)
      : job_(CreateJobObjectW(nullptr, nullptr), &CloseHandle) {
    std::wstring commandLine = L"\"" + path + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = Clock::now();
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, directory,
                        &startup, &info_)) {
      error_ = GetLastError();
      info_ = {};
      return;
    }
    if (!job_ || !AssignProcessToJobObject(job_.get(), info_.hProcess)) job_.reset();
    ResumeThread(info_.hThread);
  }
  ~Product() {
    if (info_.hProcess != nullptr) {
      if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
      }
      CloseHandle(info_.hProcess);
    }
    if (info_.hThread != nullptr) CloseHandle(info_.hThread);
  }
  Product(const Product&) = delete;
  Product& operator=(const Product&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  DWORD StartError() const { return error_; }
  DWORD Id() const { return info_.dwProcessId; }
  Clock::time_point StartTime() const { return started_; }

  // Null when the job could not be made or read.
  std::optional<ProgramCounts> Programs() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!job_ || !QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &accounting,
                                            sizeof accounting, nullptr)) {
      return std::nullopt;
    }
    return ProgramCounts{accounting.TotalProcesses, accounting.ActiveProcesses};
  }

  // The ids of the job's processes that run now, the product's among them.
  std::vector<DWORD> RunningIds() const {
    constexpr size_t kMost = 64;
    std::vector<BYTE> buffer(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + kMost * sizeof(ULONG_PTR));
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    list->NumberOfAssignedProcesses = kMost;
    if (!job_ || !QueryInformationJobObject(job_.get(), JobObjectBasicProcessIdList, list,
                                            static_cast<DWORD>(buffer.size()), nullptr)) {
      return {};
    }
    const ULONG_PTR* first = list->ProcessIdList;
    std::vector<DWORD> ids;
    for (DWORD i = 0; i < list->NumberOfProcessIdsInList; ++i) ids.push_back(static_cast<DWORD>(first[i]));
    return ids;
  }

  // The exit code once the process has ended within the timeout.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kEndTimeout) const {
    if (WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
    return code;
  }

 private:
  std::unique_ptr<void, decltype(&CloseHandle)> job_;
  PROCESS_INFORMATION info_{};
  DWORD error_ = 0;
  Clock::time_point started_;
};

inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct WindowSearch {
  DWORD processId;
  const std::wstring* className;  // null: any class
  HWND found;
};

// A named function: a lambda does not convert to the 32-bit build's stdcall callback.
inline BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  if (search->className != nullptr && ClassOf(window) != *search->className) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible top-level window of the process with that class, or null.
inline HWND FindWindowOf(DWORD processId, const std::wstring& className) {
  WindowSearch search{processId, &className, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline bool ShowsAWindow(DWORD processId) {
  WindowSearch search{processId, nullptr, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found != nullptr;
}

// The shared wait, polling more slowly: each check asks the product's process or the
// spooler, which share the machine with this one.
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds timeout) {
  return ::WaitUntil(condition, timeout, 20ms);
}

// The toolkit shows a window before its layout's size and the centring apply; clicks are
// placed from its rectangle, so that has to hold still first.
inline void WaitUntilSettled(HWND window) {
  RECT last{};
  int steady = 0;
  WaitUntil(
      [&] {
        RECT now{};
        GetWindowRect(window, &now);
        steady = EqualRect(&now, &last) ? steady + 1 : 0;
        last = now;
        return steady >= 5;
      },
      5s);
}

// shown: when the window was first seen visible, before it settled.
inline HWND WaitForWindow(DWORD processId, const std::wstring& className,
                          std::chrono::milliseconds timeout = kStartTimeout, Clock::time_point* shown = nullptr) {
  HWND window = nullptr;
  if (!WaitUntil([&] { return (window = FindWindowOf(processId, className)) != nullptr; }, timeout)) return nullptr;
  if (shown != nullptr) *shown = Clock::now();
  WaitUntilSettled(window);
  return window;
}

inline std::wstring TitleOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

// What the screen shows of the window (no window manager under Xvfb overlaps it); the
// toolkit paints itself and does not answer WM_PRINT, so PrintWindow would stay blank.
inline std::vector<COLORREF> ScreenPixelsOf(HWND window) {
  RECT r{};
  if (!GetWindowRect(window, &r)) return {};
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return {};
  const ui::WindowDc screen(nullptr);
  const std::unique_ptr<std::remove_pointer_t<HDC>, decltype(&DeleteDC)> memory(CreateCompatibleDC(screen.Get()),
                                                                                &DeleteDC);
  if (screen.Get() == nullptr || !memory) return {};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = -height;  // top-down rows
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const ui::GdiObject<HBITMAP> dib(CreateDIBSection(memory.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return {};
  const ui::GdiSelection selected(memory.get(), dib.Get());
  if (!BitBlt(memory.get(), 0, 0, width, height, screen.Get(), r.left, r.top, SRCCOPY)) return {};
  GdiFlush();
  const auto* first = static_cast<const COLORREF*>(bits);
  return std::vector<COLORREF>(first, first + static_cast<size_t>(width) * height);
}

inline size_t DistinctColours(const std::vector<COLORREF>& pixels) {
  std::set<COLORREF> colours;
  for (COLORREF p : pixels) colours.insert(p & 0xFFFFFF);
  return colours.size();
}

// The window is painted: its layout, from which clicks are placed, is made by the first
// paint, and the main window's own set-up runs then too.
inline bool WaitUntilPainted(HWND window) {
  return WaitUntil([&] { return DistinctColours(ScreenPixelsOf(window)) >= 8; }, 10s);
}

// Until the window's pixels differ from `before` and then hold still for 300 ms: what a
// click or key brought about has been painted, and the panels' slide (some 160 ms) has
// ended. An edit's caret blinks at about half a second, so it leaves such a pause.
inline bool WaitUntilRepainted(HWND window, const std::vector<COLORREF>& before) {
  if (!WaitUntil([&] { return ScreenPixelsOf(window) != before; }, 10s)) return false;
  std::vector<COLORREF> last = ScreenPixelsOf(window);
  auto stillSince = Clock::now();
  return WaitUntil(
      [&] {
        std::vector<COLORREF> now = ScreenPixelsOf(window);
        if (now != last) {
          last = std::move(now);
          stillSince = Clock::now();
        }
        return Clock::now() - stillSince >= 300ms;
      },
      10s);
}

// Layout geometry in layout pixels, scaled by how large the window really came out: both
// windows carry a 6-pixel shadow on every side.
constexpr int kShadow = 6;
struct CaptionButton {
  int layoutWidth;  // the window's layout width, shadow excluded
  int fromRight;    // the button's centre, from the right edge of the window, shadow included
  int fromTop;      // its centre from the top, shadow included
};
// main.xml: caption 64 high, right inset 12, buttons 32 wide, 1 apart: …, about, min, close.
constexpr CaptionButton kMainClose{700, kShadow + 12 + 16, kShadow + 32};
constexpr CaptionButton kMainAbout{700, kShadow + 12 + 32 + 1 + 32 + 1 + 16, kShadow + 32};
constexpr CaptionButton kMainLanguage{700, kShadow + 12 + 3 * (32 + 1) + 16, kShadow + 32};
// pop_about.xml: title band 44 high, right inset 6.
constexpr CaptionButton kAboutClose{430, kShadow + 6 + 16, kShadow + 22};
// pop_language.xml: title band 52 high, right inset 10. Its width is left out: the window
// comes out 500 wide under Wine although the layout's minimum says 600, so clicks on it
// take the main window's scale.
constexpr CaptionButton kChooserClose{0, kShadow + 10 + 16, kShadow + 26};
// Its options, 32 high and 4 apart, start below the band (52), the inset (16) and the
// 32-high caption line with its padding (8), 48 from the left; English is first, Spanish
// second (ascending language ids).
constexpr int kChooserOptionLeft = kShadow + 40 + 8 + 40;
constexpr int kChooserSpanishTop = kShadow + 52 + 16 + 32 + 8 + (32 + 4) + 16;

inline void PostClick(HWND window, int x, int y) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
}

inline double ScaleOf(HWND window, int layoutWidth) {
  RECT r{};
  GetWindowRect(window, &r);
  return static_cast<double>(r.right - r.left) / (layoutWidth + 2 * kShadow);
}

// Scale 0: taken from the window's own width.
inline void Click(HWND window, const CaptionButton& button, double scale = 0) {
  RECT r{};
  GetWindowRect(window, &r);
  if (scale == 0) scale = ScaleOf(window, button.layoutWidth);
  PostClick(window, (r.right - r.left) - static_cast<int>(button.fromRight * scale + 0.5),
            static_cast<int>(button.fromTop * scale + 0.5));
}

inline std::string Narrow(const std::wstring& text) {
  std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)),
                  '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  if (!out.empty()) out.pop_back();
  return out;
}

// main.xml at its layout size (700 x 500, shadow excluded), in layout pixels from the
// window's top left with the shadow: the index page's "install" and "remove" tiles, the wizard bar's
// Next button (Cancel, 96 wide, and 8 apart at its right) and, on the removal wizard's
// first two panels, the search field and the first row's text.
struct LayoutPoint {
  int x;
  int y;
};
constexpr LayoutPoint kInstallTile{kShadow + 189, kShadow + 251};
constexpr LayoutPoint kRemoveTile{kShadow + 511, kShadow + 251};
constexpr LayoutPoint kNextButton{kShadow + 700 - 20 - 96 - 8 - 48, kShadow + 500 - 30};
constexpr LayoutPoint kSearchField{kShadow + 20 + 110, kShadow + 64 + 12 + 40 + 8 + 16};
constexpr LayoutPoint kFirstRowText{kShadow + 300, kShadow + 64 + 12 + 40 + 8 + 32 + 8 + 1 + 32 + 15};

inline void ClickAt(HWND window, LayoutPoint point) {
  const double scale = ScaleOf(window, kMainClose.layoutWidth);
  PostClick(window, static_cast<int>(point.x * scale + 0.5), static_cast<int>(point.y * scale + 0.5));
}

inline void TypeInto(HWND window, LayoutPoint field, const std::wstring& text) {
  ClickAt(window, field);
  for (wchar_t c : text) PostMessageW(window, WM_CHAR, c, 1);
}

inline void PostKey(HWND window, UINT key, int times = 1) {
  for (int i = 0; i < times; ++i) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
  }
}

// From the index page through the removal wizard: the first printer and the first driver
// that the searches for these texts find are chosen, and the run is started. Each step's
// clicks land where the step before left the window painted and still.
inline testing::AssertionResult RemoveByClicks(HWND main, const std::wstring& printerSearch,
                                               const std::wstring& driverSearch) {
  if (!WaitUntilPainted(main)) return testing::AssertionFailure() << "the main window was not painted within 10 s";
  const struct {
    const char* what;
    std::function<void()> act;
  } steps[] = {
      {"the remove tile and Next (the printer panel)",
       [&] {
         ClickAt(main, kRemoveTile);
         ClickAt(main, kNextButton);
       }},
      {"the printer search", [&] { TypeInto(main, kSearchField, printerSearch); }},
      {"a click on the first printer's text, which flips its row", [&] { ClickAt(main, kFirstRowText); }},
      {"Next (the driver panel)", [&] { ClickAt(main, kNextButton); }},
      {"the driver search", [&] { TypeInto(main, kSearchField, driverSearch); }},
      {"a click on the first driver's text", [&] { ClickAt(main, kFirstRowText); }},
      {"Next (the summary)", [&] { ClickAt(main, kNextButton); }},
  };
  for (const auto& step : steps) {
    const std::vector<COLORREF> before = ScreenPixelsOf(main);
    step.act();
    if (!WaitUntilRepainted(main, before)) {
      return testing::AssertionFailure() << "the window did not change and hold still within 10 s after " << step.what;
    }
  }
  ClickAt(main, kNextButton);  // the run
  return testing::AssertionSuccess();
}

}  // namespace exetest
