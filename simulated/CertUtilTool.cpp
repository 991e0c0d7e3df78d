#include "simulated/CertUtilTool.h"

#include <algorithm>
#include <vector>

#include "base/WideText.h"
#include "simulated/X509Certificate.h"

namespace {

constexpr uint32_t kFileNotFound = 0x80070002;
constexpr uint32_t kInvalidArgument = 0x80070057;
constexpr uint32_t kNotACertificate = 0x80093102;  // ASN.1 data ended unexpectedly

std::vector<std::wstring> Words(std::wstring_view text) {
  std::vector<std::wstring> words;
  std::wstring word;
  bool quoted = false;
  bool any = false;
  for (wchar_t c : text) {
    if (c == L'"') {
      quoted = !quoted;
      any = true;
      continue;
    }
    if ((c == L' ' || c == L'\t') && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
      continue;
    }
    word += c;
    any = true;
  }
  if (any) words.push_back(word);
  return words;
}

}  // namespace

ShellEvent RunCertUtil(const std::wstring& parameters, MachineState& state, SimulatedFileSystem& files) {
  ShellEvent event;
  event.program = L"certutil.exe";
  event.parameters = parameters;
  event.durationMs = 300;
  auto fail = [&](uint32_t code, const std::wstring& reason) {
    event.shown = L"CertUtil: -addstore command FAILED: " + reason;
    event.exitCode = code;
    return event;
  };

  std::vector<std::wstring> words = Words(parameters);
  // Options such as -f or -enterprise may stand before the verb; they change nothing here.
  words.erase(std::remove_if(
                  words.begin(), words.end(),
                  [](const std::wstring& w) { return !w.empty() && w[0] == L'-' && !EqualsNoCase(w, L"-addstore"); }),
              words.end());
  if (words.size() != 3 || !EqualsNoCase(words[0], L"-addstore")) return fail(kInvalidArgument, L"invalid arguments");
  if (!EqualsNoCase(words[1], L"TrustedPublisher")) return fail(kInvalidArgument, L"no store named " + words[1]);

  uint32_t error = 0;
  const auto bytes = files.ReadFile(words[2], state.settings.currentDirectory, error);
  if (!bytes) return fail(kFileNotFound, L"cannot read " + words[2]);
  const auto certificate = X509Certificate::ParseDer(*bytes);
  if (!certificate) return fail(kNotACertificate, L"not a certificate: " + words[2]);

  const bool present = std::any_of(state.trustedPublishers.begin(), state.trustedPublishers.end(),
                                   [&](const SimulatedCertificate& known) { return known.der == *bytes; });
  if (present) {
    event.shown = L"Certificate \"" + certificate->subjectCommonName + L"\" already in store.";
  } else {
    state.trustedPublishers.push_back({certificate->subjectCommonName, *bytes});
    event.shown = L"TrustedPublisher\r\nCertificate \"" + certificate->subjectCommonName +
                  L"\" added to store.\r\nCertUtil: -addstore command completed successfully.";
  }
  return event;
}
