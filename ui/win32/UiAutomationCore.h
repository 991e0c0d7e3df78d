// The functions of uiautomationcore.dll that the providers call, in one table: loaded
// once from the system directory, or replaced by a test that records what is raised.
// A missing library or function leaves its entry null; callers then do without.
//
// Threads: the table is read on the UI thread; Replace only while no window is open.
#pragma once

#include "ui/win32/UiAutomationDeclarations.h"

namespace ui {

struct UiAutomationCore {
  UiaReturnRawElementProviderCall returnRawElementProvider = nullptr;
  UiaHostProviderFromHwndCall hostProviderFromHwnd = nullptr;
  UiaRaiseAutomationEventCall raiseAutomationEvent = nullptr;
  UiaRaiseAutomationPropertyChangedEventCall raisePropertyChangedEvent = nullptr;
  UiaRaiseStructureChangedEventCall raiseStructureChangedEvent = nullptr;
  UiaClientsAreListeningCall clientsAreListening = nullptr;
  UiaDisconnectProviderCall disconnectProvider = nullptr;

  // Whether raising an event can reach anyone.
  bool Listening() const { return clientsAreListening != nullptr && clientsAreListening() != FALSE; }

  // The table in use: the system's library unless a test replaced it.
  static const UiAutomationCore& Current();
  // Puts another table in place and returns the one it replaces.
  static UiAutomationCore Replace(const UiAutomationCore& table);
};

}  // namespace ui
