// The certificate tool (certutil.exe) on the simulated machine: "-addstore" adds a
// certificate file to the TrustedPublisher store of the machine and refuses anything
// that is no DER X.509 certificate.
//
// Threads: not locked; SimulatedMachine calls it under its own lock.
#pragma once

#include <string>

#include "simulated/MachineState.h"
#include "simulated/ShellEvent.h"
#include "simulated/SimulatedFileSystem.h"

ShellEvent RunCertUtil(const std::wstring& parameters, MachineState& state, SimulatedFileSystem& files);
