// The product's accessible tree as this separate process reads it through UI Automation:
// what a screen reader sees, and what the tests wait on instead of sleeping. A panel of
// the wizards is a tab page; while the tab slides, the leaving panel stays in the tree, so
// "only this panel is in the tree" holds once the slide has ended and clicks placed from
// the layout land where they are aimed.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
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

// Every element under the node, depth first, in the order a screen reader walks them.
inline void Walk(const UiaClient& client, const UiaClient::Node& node, int depth, std::vector<Element>& out) {
  if (depth > 12 || out.size() > 2000) return;
  for (auto child = client.Navigate(node, NavigateDirection_FirstChild); child != nullptr;
       child = client.Navigate(*child, NavigateDirection_NextSibling)) {
    Element element;
    element.automationId = client.Text(*child, uia::kAutomationIdProperty).value_or(L"");
    element.name = client.Text(*child, uia::kNameProperty).value_or(L"");
    element.controlType = client.Number(*child, uia::kControlTypeProperty).value_or(0);
    element.focusable = client.Flag(*child, uia::kIsKeyboardFocusableProperty).value_or(false);
    element.focused = client.Flag(*child, uia::kHasKeyboardFocusProperty).value_or(false);
    element.enabled = client.Flag(*child, uia::kIsEnabledProperty).value_or(true);
    element.offscreen = client.Flag(*child, uia::kIsOffscreenProperty).value_or(false);
    out.push_back(element);
    Walk(client, *child, depth + 1, out);
  }
}

inline std::vector<Element> ReadTree(const UiaClient& client, HWND window) {
  std::vector<Element> elements;
  if (auto root = client.FromHandle(window)) Walk(client, *root, 0, elements);
  return elements;
}

// The automation ids in tree order, for failure messages.
inline std::string IdsOf(const std::vector<Element>& elements) {
  std::string ids;
  for (const Element& element : elements) ids += Narrow(element.automationId) + " ";
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
    if (element.automationId.rfind(L"tab_panel_", 0) == 0) panels.push_back(element.automationId);
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
// what the tree held last.
template <typename Condition>
testing::AssertionResult WaitForTree(const UiaClient& client, HWND window, const std::string& awaited,
                                     Condition condition, std::chrono::milliseconds timeout = 15s,
                                     std::vector<Element>* tree = nullptr) {
  std::vector<Element> elements;
  if (WaitUntil(
          [&] {
            elements = ReadTree(client, window);
            return condition(elements);
          },
          timeout)) {
    if (tree != nullptr) *tree = std::move(elements);
    return testing::AssertionSuccess();
  }
  return testing::AssertionFailure() << "not within " << timeout.count() << " ms: " << awaited
                                     << "; the tree held: " << IdsOf(elements);
}

// Until that panel is the only one in the tree (its slide has ended) and, where named,
// the wizard bar's Next button is shown.
inline testing::AssertionResult WaitForPanel(const UiaClient& client, HWND window, const std::wstring& panel,
                                             bool withNext = false, std::vector<Element>* tree = nullptr) {
  return WaitForTree(
      client, window, Narrow(panel) + (withNext ? " alone, with the Next button" : " alone"),
      [&](const std::vector<Element>& elements) {
        const std::vector<std::wstring> panels = PanelsIn(elements);
        return panels.size() == 1 && panels.front() == panel &&
               (!withNext || ById(elements, L"btn_setup_next") != nullptr);
      },
      15s, tree);
}

}  // namespace exetest
