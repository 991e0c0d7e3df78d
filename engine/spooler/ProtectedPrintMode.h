// Windows protected print mode: while it is on, Windows accepts only its own print
// drivers, so our driver step fails. The program only reports it and changes nothing.
//
// Threads: any thread; each call asks the system afresh and holds no state.
#pragma once

#include <cstdint>
#include <optional>

enum class ProtectedPrintSource {
  None,          // the mode is off, or nothing says it is on
  RuntimeQuery,  // WindowsProtectedPrintInfo.IsProtectedPrintEnabled
  GroupPolicy,   // ...\Printers\WPP WindowsProtectedPrintGroupPolicyState
  SettingsPage,  // ...\Printers\WPP WindowsProtectedPrintMode
};

struct ProtectedPrintMode {
  bool enabled = false;
  ProtectedPrintSource source = ProtectedPrintSource::None;
  // False where the runtime query cannot be made (builds before it, Windows 7, Wine):
  // the answer then rests on the registry values alone.
  bool runtimeQueryAvailable = false;
};

// The runtime query when the system has it; the registry values in any case, so that a
// machine whose runtime class predates the mode, or whose query fails, is still seen.
// Of the two values the policy decides when it is set (1 on, anything else off); the
// settings page's value counts only without a policy.
ProtectedPrintMode DetectProtectedPrintMode();

// The answers of the three sources as the system gave them (nothing: no answer, no
// value) made into one; DetectProtectedPrintMode's rule, shared by both builds.
ProtectedPrintMode CombineProtectedPrintAnswers(std::optional<bool> runtimeQuery, std::optional<uint32_t> policyState,
                                                std::optional<uint32_t> settingsValue);

// "runtime query", "group policy", "settings page" or "none", for logs and tests.
const char* ProtectedPrintSourceName(ProtectedPrintSource source);
