#include "simulated/PrintUiApplet.h"

#include <cwchar>
#include <map>
#include <optional>
#include <set>

#include "base/WideText.h"
#include "base/WindowsErrorCodes.h"

namespace {

// The options of one PrintUIEntry command line. Single-letter options such as /n take a
// value, attached ("/n"Name"") or as the next word; longer ones (/ia, /dl) are switches.
struct PrintUiCommand {
  std::set<std::wstring> switches;
  std::map<std::wstring, std::wstring> values;

  static std::optional<PrintUiCommand> Parse(std::wstring_view parameters);
};

std::wstring_view SkipBlanks(std::wstring_view text) {
  while (!text.empty() && (text.front() == L' ' || text.front() == L'\t')) text.remove_prefix(1);
  return text;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// A quoted or bare word at the front of text.
std::wstring TakeWord(std::wstring_view& text) {
  std::wstring word;
  if (!text.empty() && text.front() == L'"') {
    const auto close = text.find(L'"', 1);
    word = std::wstring(text.substr(1, close == std::wstring_view::npos ? std::wstring_view::npos : close - 1));
    text.remove_prefix(close == std::wstring_view::npos ? text.size() : close + 1);
    return word;
  }
  while (!text.empty() && text.front() != L' ' && text.front() != L'\t') {
    word += text.front();
    text.remove_prefix(1);
  }
  return word;
}

std::optional<PrintUiCommand> PrintUiCommand::Parse(std::wstring_view parameters) {
  std::wstring_view rest = SkipBlanks(parameters);
  if (!StartsWithNoCase(rest, L"printui.dll")) return std::nullopt;
  rest = SkipBlanks(rest.substr(11));
  if (rest.empty() || rest.front() != L',') return std::nullopt;
  rest = SkipBlanks(rest.substr(1));
  if (!StartsWithNoCase(rest, L"PrintUIEntry")) return std::nullopt;
  rest = rest.substr(12);

  static const std::wstring kValueLetters = L"abcfhjlmnrtv";
  PrintUiCommand command;
  while (!(rest = SkipBlanks(rest)).empty()) {
    if (rest.front() != L'/') return std::nullopt;
    rest.remove_prefix(1);
    std::wstring name;
    while (!rest.empty() && rest.front() != L' ' && rest.front() != L'\t' && rest.front() != L'"') {
      name += rest.front();
      rest.remove_prefix(1);
    }
    if (name.empty()) return std::nullopt;
    const std::wstring key = ToLowerUnits(name.substr(0, 1));
    if (kValueLetters.find(key) != std::wstring::npos) {
      std::wstring value = name.substr(1);
      if (value.empty()) {
        if (rest.empty() || rest.front() != L'"') rest = SkipBlanks(rest);
        value = TakeWord(rest);
      }
      command.values[key] = value;
    } else {
      command.switches.insert(ToLowerUnits(name));
    }
  }
  return command;
}

std::wstring Failure(uint32_t code) {
  wchar_t text[96];
  std::swprintf(text, 96, L"Printer User Interface: Operation could not be completed (error 0x%08x).", code);
  return text;
}

}  // namespace

ShellEvent RunPrintUiApplet(const std::wstring& parameters, SimulatedSpooler& spooler) {
  ShellEvent event;
  event.program = L"rundll32.exe";
  event.parameters = parameters;
  event.durationMs = 150;
  const auto command = PrintUiCommand::Parse(parameters);
  if (!command) {
    event.shown = L"Printer User Interface: The arguments are invalid.";
    event.exitCode = kErrorInvalidParameter;
    return event;
  }
  const std::wstring printer = command->values.count(L"n") ? command->values.at(L"n") : std::wstring();
  auto fail = [&](uint32_t code) {
    event.shown = Failure(code);
    event.exitCode = code;
    return event;
  };

  if (command->switches.count(L"ia")) {
    event.durationMs = 2500;
    if (!command->values.count(L"m") || !command->values.count(L"f")) return fail(kErrorInvalidParameter);
    if (const uint32_t error = spooler.InstallDriverFromInf(command->values.at(L"m"), command->values.at(L"f"))) {
      return fail(error);
    }
    return event;  // the applet closes without a word when it succeeded
  }
  if (command->switches.count(L"e") || command->switches.count(L"p")) {
    const SimulatedPrinter* found = spooler.FindPrinter(printer);
    if (found == nullptr) return fail(kErrorInvalidPrinterName);
    const bool preferences = command->switches.count(L"e") != 0;
    event.shown = found->name + (preferences ? L" Printing Preferences" : L" Properties");
    event.window = {preferences ? PrintUiWindowKind::Preferences : PrintUiWindowKind::Properties, found->name,
                    found->driver, found->port};
    return event;
  }
  if (command->switches.count(L"k")) {
    if (const uint32_t error = spooler.QueueJob(printer, L"Test Page")) return fail(error);
    const SimulatedPrinter* found = spooler.FindPrinter(printer);
    event.shown = L"A test page has been sent to " + found->name + L".";
    event.window = {PrintUiWindowKind::TestPage, found->name, found->driver, found->port};
    return event;
  }
  return fail(kErrorInvalidParameter);
}
