// The product's accessible tree as this separate process reads it through UI Automation:
// what a screen reader sees. A panel of the wizards is a tab page; while the tab slides,
// the leaving panel stays in the tree, so "only this panel is in the tree" holds once the
// slide has ended. Wine's COM deadlocks now and then in these reads (below), so the tests
// read the tree where they check it, not to pace their clicks.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cwctype>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "exe-win32/ProductWindow.h"
#include "exe-win32/UiAutomationClient.h"

namespace exetest {

struct Element {
  std::wstring automationId;
  std::wstring name;
  int controlType = 0;
  bool focusable = false;
  bool focused = false;
  bool enabled = true;
  bool offscreen = false;
};

inline bool IsPanel(const Element& element) {
  return element.automationId.rfind(L"tab_panel_", 0) == 0;
}

// How far a read goes. A step of navigation across the processes (some 40 ms under Wine,
// and each one a chance for the deadlock below) costs far more than the properties of the
// element it reaches, so the waits do not ask controls that hold nothing in this toolkit
// (buttons, options, edits, texts, rows) for children, and a wait for the panels reads
// only the window's children from the wizard bar back to the panels.
enum class Reach { Everything, NotIntoControls, NotIntoPanels };

inline bool HoldsNothing(const Element& element) {
  switch (element.controlType) {
    case uia::kButtonControl:
    case uia::kCheckBoxControl:
    case uia::kEditControl:
    case uia::kImageControl:
    case uia::kListItemControl:
    case uia::kRadioButtonControl:
    case uia::kTextControl:
    case uia::kDocumentControl:
      return true;
    default:
      return false;
  }
}

inline bool GoesInto(const Element& element, Reach reach) {
  return reach == Reach::Everything || !HoldsNothing(element);
}

inline Element Read(const UiaClient& client, const UiaClient::Node& node) {
  Element element;
  element.automationId = client.Text(node, uia::kAutomationIdProperty).value_or(L"");
  element.name = client.Text(node, uia::kNameProperty).value_or(L"");
  element.controlType = client.Number(node, uia::kControlTypeProperty).value_or(0);
  element.focusable = client.Flag(node, uia::kIsKeyboardFocusableProperty).value_or(false);
  element.focused = client.Flag(node, uia::kHasKeyboardFocusProperty).value_or(false);
  element.enabled = client.Flag(node, uia::kIsEnabledProperty).value_or(true);
  element.offscreen = client.Flag(node, uia::kIsOffscreenProperty).value_or(false);
  return element;
}

// More than the window ever shows: a read stops there, should the navigation run in a circle.
constexpr size_t kMostElements = 500;

// Every element under the node, depth first, in the order a screen reader walks them.
inline void Walk(const UiaClient& client, const UiaClient::Node& node, int depth, Reach reach,
                 std::vector<Element>& out) {
  if (depth > 12) return;
  for (auto child = client.Navigate(node, NavigateDirection_FirstChild); child != nullptr && out.size() < kMostElements;
       child = client.Navigate(*child, NavigateDirection_NextSibling)) {
    const Element element = Read(client, *child);
    out.push_back(element);
    if (GoesInto(element, reach)) Walk(client, *child, depth + 1, reach, out);
  }
}

// The window's own children from the last back to the caption's close button, which comes
// before the panels: the wizard bars and the panels, in tree order.
inline std::vector<Element> ReadPanelLevel(const UiaClient& client, HWND window) {
  std::vector<Element> elements;
  auto root = client.FromHandle(window);
  if (root == nullptr) return elements;
  for (auto child = client.Navigate(*root, NavigateDirection_LastChild);
       child != nullptr && elements.size() < kMostElements;
       child = client.Navigate(*child, NavigateDirection_PreviousSibling)) {
    Element element = Read(client, *child);
    if (element.automationId == L"closebtn") break;
    elements.insert(elements.begin(), std::move(element));
  }
  return elements;
}

inline std::vector<Element> ReadTree(const UiaClient& client, HWND window, Reach reach = Reach::Everything) {
  if (reach == Reach::NotIntoPanels) return ReadPanelLevel(client, window);
  std::vector<Element> elements;
  if (auto root = client.FromHandle(window)) Walk(client, *root, 0, reach, elements);
  return elements;
}

// One client for the whole run, never unloaded: a read that was given up (below) may still
// be using it.
inline const UiaClient& SharedUiaClient() {
  static const UiaClient* client = new UiaClient();
  return *client;
}

// Wine's COM can deadlock as it releases a remote reference (it waits for the calls of an
// interface to end, among them the one it runs in), and the read with it. A read that has
// not returned within the limit is given up and left on its own thread; null then.
inline std::optional<std::vector<Element>> ReadTreeWithin(HWND window, Reach reach,
                                                          std::chrono::milliseconds limit = 10s) {
  struct Read {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::vector<Element> elements;
  };
  auto read = std::make_shared<Read>();
  std::thread([read, window, reach] {
    std::vector<Element> elements = ReadTree(SharedUiaClient(), window, reach);
    const std::lock_guard lock(read->mutex);
    read->elements = std::move(elements);
    read->done = true;
    read->ended.notify_all();
  }).detach();
  std::unique_lock lock(read->mutex);
  if (!read->ended.wait_for(lock, limit, [&] { return read->done; })) return std::nullopt;
  return std::move(read->elements);
}

// The automation ids in tree order, for failure messages; the first hundred.
inline std::string IdsOf(const std::vector<Element>& elements) {
  std::string ids;
  for (size_t i = 0; i < elements.size() && i < 100; ++i) ids += Narrow(elements[i].automationId) + " ";
  if (elements.size() > 100) ids += "… (" + std::to_string(elements.size()) + " in all)";
  return ids;
}

inline const Element* ById(const std::vector<Element>& elements, const std::wstring& id) {
  auto found = std::find_if(elements.begin(), elements.end(), [&](const Element& e) { return e.automationId == id; });
  return found != elements.end() ? &*found : nullptr;
}

inline std::vector<const Element*> AllById(const std::vector<Element>& elements, const std::wstring& id) {
  std::vector<const Element*> found;
  for (const Element& element : elements) {
    if (element.automationId == id) found.push_back(&element);
  }
  return found;
}

// The wizard panels (tab pages named tab_panel_…) that are in the tree.
inline std::vector<std::wstring> PanelsIn(const std::vector<Element>& elements) {
  std::vector<std::wstring> panels;
  for (const Element& element : elements) {
    if (IsPanel(element)) panels.push_back(element.automationId);
  }
  return panels;
}

inline bool ContainsNoCase(const std::wstring& text, const std::wstring& part) {
  const auto folded = [](std::wstring s) {
    std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return s;
  };
  return folded(text).find(folded(part)) != std::wstring::npos;
}

// Waits until the tree satisfies the condition; the failure names what was awaited and
// what the tree held last. tree: the last read, when the wait succeeds.
template <typename Condition>
testing::AssertionResult WaitForTree(HWND window, const std::string& awaited, Condition condition,
                                     Reach reach = Reach::NotIntoControls, std::vector<Element>* tree = nullptr) {
  constexpr auto timeout = 30s;
  std::vector<Element> elements;
  int unanswered = 0;
  if (WaitUntil(
          [&] {
            std::optional<std::vector<Element>> read = ReadTreeWithin(window, reach);
            if (!read) {
              ++unanswered;
              return false;
            }
            elements = std::move(*read);
            return condition(elements);
          },
          timeout)) {
    if (tree != nullptr) *tree = std::move(elements);
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "not within " << timeout.count() << " s: " << awaited << "; " << unanswered
                                     << " reads did not return; the tree held: " << IdsOf(elements);
}

// Until that panel is the only one in the tree (its slide has ended) and, where asked,
// the wizard bar's Next button is shown. tree: the whole tree then, panel included.
inline testing::AssertionResult WaitForPanel(HWND window, const std::wstring& panel, bool withNext = false,
                                             std::vector<Element>* tree = nullptr) {
  return WaitForTree(
      window, Narrow(panel) + (withNext ? " alone, with the Next button" : " alone"),
      [&](const std::vector<Element>& elements) {
        return PanelsIn(elements) == std::vector<std::wstring>{panel} &&
               (!withNext || ById(elements, L"btn_setup_next") != nullptr);
      },
      tree != nullptr ? Reach::Everything : Reach::NotIntoPanels, tree);
}

}  // namespace exetest
