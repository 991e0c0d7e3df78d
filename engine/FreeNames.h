// The names the wizard proposes: the first of a series that the spooler does not hold yet.
//
// Threads: any; no state of their own (taken may look at the spooler).
#pragma once

#include <functional>
#include <string>

using NameTaken = std::function<bool(const std::wstring&)>;

// The model name, else "<model> (1)", "<model> (2)" ...
std::wstring ProposePrinterName(const std::wstring& modelName, const NameTaken& taken);
// The address, else "<address>_1", "<address>_2" ...
std::wstring ProposeNetworkPortName(const std::wstring& address, const NameTaken& taken);
