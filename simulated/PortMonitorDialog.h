// The dialogs of the simulated machine's port monitors, as Windows' own monitors show
// them for AddPortW and ConfigurePortW: owned by the caller's window and modal over it.
// Local Port asks for a port name; Standard TCP/IP Port for a host address and a port
// name (empty: "IP_" + the address). Configuring shows the port; a Standard TCP/IP port
// may be given another host address.
//
// Controls, for a person or a test driving the dialog: "edit_monitor_host" (TCP/IP only),
// "edit_monitor_port" (read-only when configuring), "btn_monitor_ok", "btn_monitor_cancel".
// The window class is "SimulatedPortMonitor".
//
// Threads: the UI thread that owns the owner window.
#pragma once

#include <optional>
#include <string>

#include "base/WindowHandle.h"
#include "simulated/MachineState.h"

enum class PortMonitorDialogKind { AddLocalPort, AddTcpIpPort, ConfigureLocalPort, ConfigureTcpIpPort };

// The user's answer; nothing when there is no owner or no window host to show it on.
std::optional<PortDialogAnswer> RunPortMonitorDialog(ui::WindowHandle owner, PortMonitorDialogKind kind,
                                                     const std::wstring& portName, const std::wstring& hostAddress);
