// Steps through the product's wizards from outside, as a user would, each click or key
// followed by a wait for what it should bring about in the accessible tree; a step that
// does not come about fails with what was awaited.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "exe-win32/AccessibleTree.h"
#include "exe-win32/ProductWindow.h"
#include "exe-win32/UiAutomationClient.h"

namespace exetest {

// The index page is in the tree and painted: the layout, from which clicks are placed,
// is made by the first paint.
inline testing::AssertionResult WaitForIndexPage(HWND main) {
  const testing::AssertionResult shown = WaitForPanel(main, L"tab_panel_index", true);
  if (!shown) return shown;
  if (!WaitUntil([&] { return DistinctColours(ScreenPixelsOf(main)) >= 8; }, 10s)) {
    return testing::AssertionFailure() << "the index page was not painted within 10 s";
  }
  return testing::AssertionSuccess();
}

// Next by its button, up to that panel; withNext where the step after it clicks Next again.
inline testing::AssertionResult NextTo(HWND main, const std::wstring& panel, bool withNext = true,
                                       std::vector<Element>* tree = nullptr) {
  ClickAt(main, kNextButton);
  return WaitForPanel(main, panel, withNext, tree);
}

// Until the element with that automation id (and, where given, a name holding that text)
// has the keyboard focus.
inline testing::AssertionResult WaitForFocus(HWND main, const std::wstring& id, const std::wstring& namePart = L"") {
  return WaitForTree(main, "the keyboard focus in " + Narrow(id) + " " + Narrow(namePart),
                     [&](const std::vector<Element>& elements) {
                       return std::any_of(elements.begin(), elements.end(), [&](const Element& e) {
                         return e.focused && e.automationId == id && ContainsNoCase(e.name, namePart);
                       });
                     });
}

// Types the text into the shown removal panel's search field, waits until its list shows
// only rows that hold it, and flips the first by a click on its text: the press gives that
// row the keyboard focus in the same step that flips it.
inline testing::AssertionResult SearchAndChooseFirstRow(HWND main, const std::wstring& rowId,
                                                        const std::wstring& search) {
  TypeInto(main, kSearchField, search);
  const testing::AssertionResult found =
      WaitForTree(main, "rows " + Narrow(rowId) + " that all hold \"" + Narrow(search) + "\"",
                  [&](const std::vector<Element>& elements) {
                    const std::vector<const Element*> rows = AllById(elements, rowId);
                    return !rows.empty() && !rows.front()->offscreen &&
                           std::all_of(rows.begin(), rows.end(),
                                       [&](const Element* row) { return ContainsNoCase(row->name, search); });
                  });
  if (!found) return found;
  ClickAt(main, kFirstRowText);
  return WaitForFocus(main, rowId, search);
}

// From the index page through the removal wizard: the first printer and the first driver
// that the searches for these texts find are chosen, and the run is started.
inline testing::AssertionResult RemoveByClicks(HWND main, const std::wstring& printerSearch,
                                               const std::wstring& driverSearch) {
  if (!SharedUiaClient().Ready())
    return testing::AssertionFailure() << "uiautomationcore.dll lacks the client functions";
  for (const auto& step : std::vector<std::function<testing::AssertionResult()>>{
           [&] { return WaitForIndexPage(main); },
           [&] {
             ClickAt(main, kRemoveTile);
             return NextTo(main, L"tab_panel_delete_printer");
           },
           [&] { return SearchAndChooseFirstRow(main, L"listex_delete_printer_item", printerSearch); },
           [&] { return NextTo(main, L"tab_panel_delete_driver"); },
           [&] { return SearchAndChooseFirstRow(main, L"listex_delete_driver_item", driverSearch); },
           [&] {
             // The start button is enabled by the choices.
             ClickAt(main, kNextButton);
             return WaitForTree(
                 main, "the removal's summary with its start button enabled",
                 [](const std::vector<Element>& elements) {
                   const Element* start = ById(elements, L"btn_setup_next");
                   return PanelsIn(elements) == std::vector<std::wstring>{L"tab_panel_delete_ready"} &&
                          start != nullptr && start->enabled;
                 },
                 Reach::NotIntoPanels);
           },
           [&] { return NextTo(main, L"tab_panel_delete_start", false); }}) {
    testing::AssertionResult done = step();
    if (!done) return done;
  }
  return testing::AssertionSuccess();
}

}  // namespace exetest
