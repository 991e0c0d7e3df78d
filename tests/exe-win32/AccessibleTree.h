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
};

inline Element Read(const UiaClient& client, const UiaClient::Node& node) {
  Element element;
  element.automationId = client.Text(node, uia::kAutomationIdProperty).value_or(L"");
  element.name = client.Text(node, uia::kNameProperty).value_or(L"");
  element.controlType = client.Number(node, uia::kControlTypeProperty).value_or(0);
  element.focusable = client.Flag(node, uia::kIsKeyboardFocusableProperty).value_or(false);
  element.focused = client.Flag(node, uia::kHasKeyboardFocusProperty).value_or(false);
  return element;
}

// More than the window ever shows: a read stops there, should the navigation run in a circle.
constexpr size_t kMostElements = 500;

// Every element under the node, depth first, in the order a screen reader walks them.
inline void Walk(const UiaClient& client, const UiaClient::Node& node, int depth, std::vector<Element>& out) {
  if (depth > 12) return;
  for (auto child = client.Navigate(node, NavigateDirection_FirstChild); child != nullptr && out.size() < kMostElements;
       child = client.Navigate(*child, NavigateDirection_NextSibling)) {
    out.push_back(Read(client, *child));
    Walk(client, *child, depth + 1, out);
  }
}

inline std::vector<Element> ReadTree(const UiaClient& client, HWND window) {
  std::vector<Element> elements;
  if (auto root = client.FromHandle(window)) Walk(client, *root, 0, elements);
  return elements;
}

// One client for the whole run, never unloaded: a read that was given up (below) may still
// be using it.
inline const UiaClient& SharedUiaClient() {
  static const UiaClient* client = new UiaClient();
  return *client;
}

// Wine 8's COM deadlocks now and then as it releases a remote reference during a read: the
// product's side waits for the calls of an interface to end, the one it runs in among
// them, and every later read waits too. A read that has not returned within the limit is
// given up and left on its own thread; null then.
inline std::optional<std::vector<Element>> ReadTreeWithin(HWND window, std::chrono::milliseconds limit = 10s) {
  struct Read {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::vector<Element> elements;
  };
  auto read = std::make_shared<Read>();
  std::thread([read, window] {
    std::vector<Element> elements = ReadTree(SharedUiaClient(), window);
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

// The wizard panels (tab pages named tab_panel_…) that are in the tree.
inline std::vector<std::wstring> PanelsIn(const std::vector<Element>& elements) {
  std::vector<std::wstring> panels;
  for (const Element& element : elements) {
    if (element.automationId.rfind(L"tab_panel_", 0) == 0) panels.push_back(element.automationId);
  }
  return panels;
}

// Until that panel is the only one in the tree (its slide has ended) and, where asked,
// the wizard bar's Next button is shown; the failure names what was awaited and what the
// tree held last. tree: the last read.
inline testing::AssertionResult WaitForPanel(HWND window, const std::wstring& panel, bool withNext,
                                             std::vector<Element>& tree) {
  constexpr auto timeout = 30s;
  int unanswered = 0;
  const bool shown = WaitUntil(
      [&] {
        std::optional<std::vector<Element>> read = ReadTreeWithin(window);
        if (!read) {
          ++unanswered;
          return false;
        }
        tree = std::move(*read);
        return PanelsIn(tree) == std::vector<std::wstring>{panel} &&
               (!withNext || ById(tree, L"btn_setup_next") != nullptr);
      },
      timeout);
  if (shown) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "not within " << timeout.count() << " s: " << Narrow(panel) << " alone"
                                     << (withNext ? ", with the Next button" : "") << "; " << unanswered
                                     << " reads did not return; the tree held: " << IdsOf(tree);
}

}  // namespace exetest
