#include "engine/spooler/ProtectedPrintMode.h"

const char* ProtectedPrintSourceName(ProtectedPrintSource source) {
  switch (source) {
    case ProtectedPrintSource::RuntimeQuery:
      return "runtime query";
    case ProtectedPrintSource::GroupPolicy:
      return "group policy";
    case ProtectedPrintSource::SettingsPage:
      return "settings page";
    case ProtectedPrintSource::None:
      break;
  }
  return "none";
}

ProtectedPrintMode CombineProtectedPrintAnswers(std::optional<bool> runtimeQuery, std::optional<uint32_t> policyState,
                                                std::optional<uint32_t> settingsValue) {
  ProtectedPrintMode mode;
  mode.runtimeQueryAvailable = runtimeQuery.has_value();
  if (runtimeQuery.value_or(false)) {
    mode.enabled = true;
    mode.source = ProtectedPrintSource::RuntimeQuery;
  } else if (policyState) {
    // A policy set to off overrules whatever the settings page last stored.
    if (*policyState == 1) {
      mode.enabled = true;
      mode.source = ProtectedPrintSource::GroupPolicy;
    }
  } else if (settingsValue.value_or(0) == 1) {
    mode.enabled = true;
    mode.source = ProtectedPrintSource::SettingsPage;
  }
  return mode;
}
