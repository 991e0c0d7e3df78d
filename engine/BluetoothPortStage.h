// The port stage of a Bluetooth printer: pair it, enable its serial-port service, find
// the serial port that service got and make sure the spooler knows the port.
//
// Threads: the installation worker; it sleeps between attempts (at most about 20 s).
#pragma once

#include <optional>
#include <string>

#include "engine/InstallLog.h"
#include "engine/InstallationInputs.h"

// Attempts of the service and port loops, 250 ms apart.
constexpr int kBluetoothAttempts = 41;
constexpr unsigned kBluetoothAttemptPauseMs = 250;

// The port name with its ":" (such as "COM5:"), or nothing when the run must stop; every
// line of the stage is logged.
std::optional<std::wstring> PrepareBluetoothPort(const InstallationInputs& inputs, const InstallLog& log);
