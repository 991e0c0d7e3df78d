// What one run of the console program is asked to do, and the reading of it from the
// command line and the answer file. Only the form is checked here; whether the named
// ports, printers and devices exist is checked against the machine later (ConsolePlan).
//
// Threads: the console program's only thread; plain values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ConsoleVerb { None, Help, List, Detect, Install, Remove };
enum class ListSubject { None, Printers, Drivers, Ports, Usb, Bluetooth };

struct ConsoleOptions {
  ConsoleVerb verb = ConsoleVerb::None;
  ListSubject subject = ListSubject::None;
  bool all = false;
  bool json = false;
  bool whatIf = false;
  std::optional<uint16_t> languageId;
  std::wstring logFile;
  std::wstring answerFile;
  // install, detect
  std::optional<int> model;     // 203 or 300
  std::optional<int> portKind;  // PortKind
  std::optional<std::wstring> portName;
  std::optional<std::wstring> address;  // IPv4 (network) or Bluetooth address
  std::optional<int> usbNumber;         // as "list usb" numbers them, from 1
  std::optional<std::wstring> pin;
  std::optional<std::wstring> printerName;
  std::optional<bool> setAsDefault;
  // remove; detect takes one printer
  std::vector<std::wstring> printers;
  std::vector<std::wstring> drivers;
  // The options given, by name without the dashes, for the checks of what goes together.
  std::vector<std::wstring> given;

  bool Has(std::wstring_view option) const;
};

// A refused option: its name as the user wrote it ("--model", or the verb) and the text
// id of what is wrong, with an optional argument for the text's "%s".
struct OptionError {
  std::wstring option;
  std::wstring problemKey;
  std::wstring argument;
};

// The command line without the program name. The answer file, when one is named, is read
// first; options on the command line replace its values (names of printers and drivers
// are added). On success the options are complete for their verb.
std::optional<OptionError> ParseConsoleArguments(const std::vector<std::wstring>& arguments, ConsoleOptions& options);

// The language given to --language: a Windows language identifier (decimal or 0x hex) or
// a language code of this program ("en", "cn", ...).
std::optional<uint16_t> LanguageOfArgument(std::wstring_view text);

// The --port word of a port kind, as the parser reads it; "existing" for any other kind.
const wchar_t* PortKindWord(int portKind);

// The one message of a refused option, in the current language.
std::wstring DescribeOptionError(const OptionError& error);
