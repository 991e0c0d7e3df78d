#include "ui/win32/UiAutomationCore.h"

#include "base/SystemLibrary.h"

namespace ui {

namespace {

template <class Call>
void Find(HMODULE library, const char* name, Call& call) {
  call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

UiAutomationCore LoadSystemTable() {
  UiAutomationCore table;
  // Held for the life of the process: providers handed out may be called until its end.
  static const LibraryHandle library = LoadSystemLibrary(L"uiautomationcore.dll");
  if (!library) return table;
  Find(library.Get(), "UiaReturnRawElementProvider", table.returnRawElementProvider);
  Find(library.Get(), "UiaHostProviderFromHwnd", table.hostProviderFromHwnd);
  Find(library.Get(), "UiaRaiseAutomationEvent", table.raiseAutomationEvent);
  Find(library.Get(), "UiaRaiseAutomationPropertyChangedEvent", table.raisePropertyChangedEvent);
  Find(library.Get(), "UiaRaiseStructureChangedEvent", table.raiseStructureChangedEvent);
  Find(library.Get(), "UiaClientsAreListening", table.clientsAreListening);
  Find(library.Get(), "UiaDisconnectProvider", table.disconnectProvider);
  return table;
}

UiAutomationCore& Table() {
  static UiAutomationCore table = LoadSystemTable();
  return table;
}

}  // namespace

const UiAutomationCore& UiAutomationCore::Current() {
  return Table();
}

UiAutomationCore UiAutomationCore::Replace(const UiAutomationCore& table) {
  UiAutomationCore previous = Table();
  Table() = table;
  return previous;
}

}  // namespace ui
