// SimulatedMachine: version, WOW64, error texts, delays and settings.
#include "simulated/SimulatedMachine.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"
#include "simulated/CertUtilTool.h"
#include "simulated/FreshMachineState.h"
#include "simulated/MachineLayout.h"
#include "simulated/MachineStateFile.h"
#include "simulated/PortMonitorDialog.h"
#include "simulated/PrintUiApplet.h"
#include "simulated/SimulatedLastError.h"
#include "simulated/SystemErrorTexts.h"
#include "simulated/TcpIpPortRecord.h"

namespace {

constexpr uint16_t kEnglish = 0x0409;
constexpr uint16_t kChinese = 0x0804;

}  // namespace

std::optional<SimulatedMachine::Version> SimulatedMachine::GetVersion() {
  std::lock_guard guard(lock_);
  if (Faulted("GetVersionExW")) return std::nullopt;
  const auto& settings = state_.settings;
  return Version{settings.majorVersion, settings.minorVersion, settings.buildNumber};
}

std::optional<std::wstring> SimulatedMachine::FormatMessage(uint32_t code, uint16_t languageId) {
  std::lock_guard guard(lock_);
  if (Faulted("FormatMessageW")) return std::nullopt;
  MessageLanguage language = MessageLanguage::English;
  if (languageId == 0) {
    // Neutral: the language of the user's interface.
    if (state_.settings.uiLanguage == kChinese) language = MessageLanguage::Chinese;
  } else if (languageId == kChinese) {
    language = MessageLanguage::Chinese;
  } else if (languageId != kEnglish) {
    // The machine has the English and Chinese language packs only.
    SetSimulatedLastError(kErrorResourceLanguageNotFound);
    return std::nullopt;
  }
  auto text = SystemErrorText(code, language);
  if (!text) SetSimulatedLastError(kErrorMessageNotFound);
  return text;
}

uint64_t SimulatedMachine::ScaledDelayMs(uint64_t milliseconds) {
  std::lock_guard guard(lock_);
  requestedDelayMs_ += milliseconds;
  return static_cast<uint64_t>(static_cast<double>(milliseconds) * timeScale_);
}

void SimulatedMachine::SetTimeScale(double scale) {
  std::lock_guard guard(lock_);
  timeScale_ = std::max(0.0, scale);
}

uint64_t SimulatedMachine::RequestedDelayMs() const {
  std::lock_guard guard(lock_);
  return requestedDelayMs_;
}

void SimulatedMachine::SetWindowsVersion(uint32_t major, uint32_t minor, uint32_t build) {
  std::lock_guard guard(lock_);
  state_.settings.majorVersion = major;
  state_.settings.minorVersion = minor;
  state_.settings.buildNumber = build;
  SaveLocked();
}

void SimulatedMachine::SetUiLanguage(std::optional<uint16_t> languageId) {
  std::lock_guard guard(lock_);
  state_.settings.uiLanguage = languageId;
  SaveLocked();
}

std::optional<bool> SimulatedMachine::IsWow64Process() {
  std::lock_guard guard(lock_);
  if (Faulted("IsWow64Process")) return std::nullopt;
  return state_.settings.x64;
}

bool SimulatedMachine::NativeSystemIs64Bit() {
  std::lock_guard guard(lock_);
  return state_.settings.x64;
}

void SimulatedMachine::SetX64(bool x64) {
  std::lock_guard guard(lock_);
  state_.settings.x64 = x64;
  SaveLocked();
}

bool SimulatedMachine::ProtectedPrintModeOn() const {
  std::lock_guard guard(lock_);
  return state_.settings.protectedPrintMode;
}

void SimulatedMachine::SetProtectedPrintMode(bool on) {
  std::lock_guard guard(lock_);
  state_.settings.protectedPrintMode = on;
  SaveLocked();
}

bool SimulatedMachine::RunningAsAdministrator() const {
  std::lock_guard guard(lock_);
  return state_.settings.administrator;
}

void SimulatedMachine::SetAdministrator(bool on) {
  std::lock_guard guard(lock_);
  state_.settings.administrator = on;
  SaveLocked();
}
