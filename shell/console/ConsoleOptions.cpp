#include "shell/console/ConsoleOptions.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "base/TextTable.h"
#include "base/WideText.h"
#include "engine/PortKind.h"
#include "shell/Languages.h"
#include "shell/console/AnswerFile.h"
#include "shell/console/NativePath.h"

namespace {

enum class Takes { Nothing, Value };

struct OptionSpec {
  const wchar_t* name;
  Takes takes;
  bool repeats;
};

constexpr OptionSpec kOptions[] = {
    {L"all", Takes::Nothing, false},        {L"json", Takes::Nothing, false},  {L"what-if", Takes::Nothing, false},
    {L"language", Takes::Value, false},     {L"log", Takes::Value, false},     {L"answer-file", Takes::Value, false},
    {L"model", Takes::Value, false},        {L"port", Takes::Value, false},    {L"port-name", Takes::Value, false},
    {L"address", Takes::Value, false},      {L"usb", Takes::Value, false},     {L"pin", Takes::Value, false},
    {L"printer-name", Takes::Value, false}, {L"default", Takes::Value, false}, {L"printer", Takes::Value, true},
    {L"driver", Takes::Value, true},        {L"help", Takes::Nothing, false},
};

const OptionSpec* FindOption(std::wstring_view name) {
  for (const auto& spec : kOptions) {
    if (name == spec.name) return &spec;
  }
  return nullptr;
}

OptionError Error(std::wstring_view name, const wchar_t* problemKey, std::wstring argument = {}) {
  return {L"--" + std::wstring(name), problemKey, std::move(argument)};
}

std::optional<int> WholeNumber(std::wstring_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return value;
}

// The value a word names, letter case ignored.
template <typename Value>
std::optional<Value> Named(std::wstring_view word, std::initializer_list<std::pair<const wchar_t*, Value>> names) {
  for (const auto& [name, value] : names) {
    if (EqualsNoCase(word, name)) return value;
  }
  return std::nullopt;
}

constexpr std::pair<const wchar_t*, int> kPortKindWords[] = {
    {L"usb", PortKind::Usb}, {L"network", PortKind::Network}, {L"bluetooth", PortKind::Bluetooth},
    {L"lpt", PortKind::Lpt}, {L"com", PortKind::Com},         {L"existing", PortKind::Custom}};

std::optional<int> PortKindOf(std::wstring_view text) {
  for (const auto& [name, kind] : kPortKindWords) {
    if (EqualsNoCase(text, name)) return kind;
  }
  return std::nullopt;
}

std::optional<ConsoleVerb> VerbOf(std::wstring_view text) {
  return Named<ConsoleVerb>(text, {{L"list", ConsoleVerb::List},
                                   {L"detect", ConsoleVerb::Detect},
                                   {L"install", ConsoleVerb::Install},
                                   {L"remove", ConsoleVerb::Remove},
                                   {L"help", ConsoleVerb::Help}});
}

std::optional<ListSubject> SubjectOf(std::wstring_view text) {
  return Named<ListSubject>(text, {{L"printers", ListSubject::Printers},
                                   {L"drivers", ListSubject::Drivers},
                                   {L"ports", ListSubject::Ports},
                                   {L"usb", ListSubject::Usb},
                                   {L"bluetooth", ListSubject::Bluetooth}});
}

// Stores one option's value; the value's form is checked here.
std::optional<OptionError> Apply(ConsoleOptions& options, std::wstring_view name, const std::wstring& value) {
  if (name == L"all") {
    options.all = true;
  } else if (name == L"json") {
    options.json = true;
  } else if (name == L"what-if") {
    options.whatIf = true;
  } else if (name == L"help") {
    options.verb = ConsoleVerb::Help;
  } else if (name == L"language") {
    options.languageId = LanguageOfArgument(value);
    if (!options.languageId) return Error(name, L"cli.err.language", value);
  } else if (name == L"log") {
    if (value.empty()) return Error(name, L"cli.err.empty");
    options.logFile = value;
  } else if (name == L"answer-file") {
    if (value.empty()) return Error(name, L"cli.err.empty");
    options.answerFile = value;
  } else if (name == L"model") {
    const auto model = WholeNumber(value);
    if (!model || (*model != 203 && *model != 300)) return Error(name, L"cli.err.model", value);
    options.model = *model;
  } else if (name == L"port") {
    options.portKind = PortKindOf(value);
    if (!options.portKind) return Error(name, L"cli.err.port", value);
  } else if (name == L"port-name") {
    if (value.empty()) return Error(name, L"cli.err.empty");
    options.portName = value;
  } else if (name == L"address") {
    if (value.empty()) return Error(name, L"cli.err.empty");
    options.address = value;
  } else if (name == L"usb") {
    const auto number = WholeNumber(value);
    if (!number || *number < 1) return Error(name, L"cli.err.number", value);
    options.usbNumber = *number;
  } else if (name == L"pin") {
    options.pin = value;
  } else if (name == L"printer-name") {
    if (value.empty()) return Error(name, L"cli.err.empty");
    options.printerName = value;
  } else if (name == L"default") {
    if (EqualsNoCase(value, L"yes")) {
      options.setAsDefault = true;
    } else if (EqualsNoCase(value, L"no")) {
      options.setAsDefault = false;
    } else {
      return Error(name, L"cli.err.yesno", value);
    }
  } else if (name == L"printer" || name == L"driver") {
    if (value.empty()) return Error(name, L"cli.err.empty");
    auto& names = name == L"printer" ? options.printers : options.drivers;
    if (std::find(names.begin(), names.end(), value) == names.end()) names.push_back(value);
  }
  return std::nullopt;
}

struct GivenOption {
  std::wstring name;
  std::wstring value;
};

// The command line split into verb words and options ("--name value" or "--name=value").
struct CommandLine {
  std::vector<std::wstring> words;
  std::vector<GivenOption> options;
};

std::optional<OptionError> SplitCommandLine(const std::vector<std::wstring>& arguments, CommandLine& line) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    if (argument.size() < 2 || argument.compare(0, 2, L"--") != 0) {
      line.words.push_back(argument);
      continue;
    }
    std::wstring name = argument.substr(2);
    std::optional<std::wstring> value;
    if (const size_t equals = name.find(L'='); equals != std::wstring::npos) {
      value = name.substr(equals + 1);
      name.resize(equals);
    }
    const OptionSpec* spec = FindOption(name);
    if (spec == nullptr) return OptionError{argument, L"cli.err.unknownoption", {}};
    if (spec->takes == Takes::Nothing && value) return Error(name, L"cli.err.novalueexpected");
    if (spec->takes == Takes::Value && !value) {
      if (i + 1 >= arguments.size()) return Error(name, L"cli.err.novalue");
      value = arguments[++i];
    }
    const bool seen = std::any_of(line.options.begin(), line.options.end(),
                                  [&](const GivenOption& given) { return given.name == name; });
    if (seen && !spec->repeats) return Error(name, L"cli.err.twice");
    line.options.push_back({name, value.value_or(L"")});
  }
  return std::nullopt;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::wstring& path) {
  std::ifstream file(NativePath(path), std::ios::binary);
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (file.bad()) return std::nullopt;
  return bytes;
}

// The answer file's options, as if given before the command line's.
std::optional<OptionError> ApplyAnswerFile(const std::wstring& path, ConsoleOptions& options, const CommandLine& line) {
  const auto bytes = ReadWholeFile(path);
  if (!bytes) return Error(L"answer-file", L"cli.err.unreadable", path);
  const AnswerFileResult read = ReadAnswerFile(*bytes);
  if (!read.content) return Error(L"answer-file", L"cli.err.answerfile", read.error);
  const AnswerFileContent& content = *read.content;
  if (!content.verb.empty()) {
    const auto verb = VerbOf(content.verb);
    if (!verb || *verb == ConsoleVerb::Help) return Error(L"answer-file", L"cli.err.verb", content.verb);
    options.verb = *verb;
  }
  if (!content.what.empty()) {
    const auto subject = SubjectOf(content.what);
    if (!subject) return Error(L"answer-file", L"cli.err.subject", content.what);
    options.subject = *subject;
  }
  std::vector<std::wstring> seen;
  for (const AnswerFileOption& option : content.options) {
    const OptionSpec* spec = FindOption(option.name);
    if (spec == nullptr || option.name == L"answer-file" || option.name == L"help") {
      return Error(L"answer-file", L"cli.err.answerelement", option.name);
    }
    if (spec->takes == Takes::Nothing && !option.value.empty()) {
      return Error(option.name, L"cli.err.novalueexpected");
    }
    if (std::find(seen.begin(), seen.end(), option.name) != seen.end() && !spec->repeats) {
      return Error(option.name, L"cli.err.twice");
    }
    seen.push_back(option.name);
    // A single value that the command line gives as well is the command line's.
    const bool replaced =
        !spec->repeats && std::any_of(line.options.begin(), line.options.end(),
                                      [&](const GivenOption& given) { return given.name == option.name; });
    if (replaced) continue;
    if (auto error = Apply(options, option.name, option.value)) return error;
    options.given.push_back(option.name);
  }
  return std::nullopt;
}

bool Allowed(std::wstring_view name, std::initializer_list<const wchar_t*> names) {
  return std::any_of(names.begin(), names.end(), [&](const wchar_t* allowed) { return name == allowed; });
}

// Which options go with the verb (and, for install, with the port kind), and which it needs.
std::optional<OptionError> CheckCombination(const ConsoleOptions& options) {
  const std::initializer_list<const wchar_t*> kEveryVerb = {L"what-if", L"language", L"log", L"answer-file"};
  for (const std::wstring& name : options.given) {
    if (Allowed(name, kEveryVerb)) continue;
    bool fits = false;
    switch (options.verb) {
      case ConsoleVerb::List:
        fits =
            name == L"json" ||
            (name == L"all" && (options.subject == ListSubject::Printers || options.subject == ListSubject::Drivers));
        break;
      case ConsoleVerb::Install: {
        const int kind = options.portKind.value_or(PortKind::None);
        fits = Allowed(name, {L"model", L"port", L"printer-name", L"default"}) ||
               (name == L"port-name" && kind != PortKind::Bluetooth) ||
               (name == L"address" && (kind == PortKind::Network || kind == PortKind::Bluetooth)) ||
               (name == L"usb" && kind == PortKind::Usb) || (name == L"pin" && kind == PortKind::Bluetooth);
        break;
      }
      case ConsoleVerb::Remove:
        fits = name == L"printer" || name == L"driver";
        break;
      case ConsoleVerb::Detect:
        fits = name == L"printer" || name == L"model" || name == L"json";
        break;
      default:
        break;
    }
    if (!fits) return Error(name, L"cli.err.notapplicable");
  }
  switch (options.verb) {
    case ConsoleVerb::List:
      if (options.subject == ListSubject::None) return OptionError{L"list", L"cli.err.subject", {}};
      break;
    case ConsoleVerb::Install: {
      if (!options.model) return Error(L"model", L"cli.err.missing");
      if (!options.portKind) return Error(L"port", L"cli.err.missing");
      const int kind = *options.portKind;
      if ((kind == PortKind::Network || kind == PortKind::Bluetooth) && !options.address) {
        return Error(L"address", L"cli.err.missing");
      }
      if ((kind == PortKind::Lpt || kind == PortKind::Com || kind == PortKind::Custom) && !options.portName) {
        return Error(L"port-name", L"cli.err.missing");
      }
      if (kind == PortKind::Usb && options.usbNumber.has_value() == options.portName.has_value()) {
        return Error(L"usb", L"cli.err.usbchoice");
      }
      break;
    }
    case ConsoleVerb::Remove:
      if (options.printers.empty() && options.drivers.empty()) return OptionError{L"remove", L"cli.err.nothing", {}};
      break;
    case ConsoleVerb::Detect:
      if (options.printers.size() > 1) return Error(L"printer", L"cli.err.twice");
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

const wchar_t* PortKindWord(int portKind) {
  for (const auto& [name, kind] : kPortKindWords) {
    if (kind == portKind) return name;
  }
  return L"existing";
}

bool ConsoleOptions::Has(std::wstring_view option) const {
  return std::find(given.begin(), given.end(), option) != given.end();
}

std::optional<uint16_t> LanguageOfArgument(std::wstring_view text) {
  const LanguageTable& table = ProcessLanguageTable();
  for (const auto& [id, entry] : table) {
    if (EqualsNoCase(text, entry.code)) return id;
  }
  std::optional<unsigned> number;
  if (text.size() > 2 && text.size() <= 6 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
    unsigned value = 0;
    for (wchar_t c : text.substr(2)) {
      const int digit = (c >= L'0' && c <= L'9')   ? c - L'0'
                        : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                        : (c >= L'A' && c <= L'F') ? c - L'A' + 10
                                                   : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned>(digit);
    }
    number = value;
  } else if (const auto decimal = WholeNumber(text)) {
    number = static_cast<unsigned>(*decimal);
  }
  if (!number || *number > 0xFFFF || table.count(static_cast<uint16_t>(*number)) == 0) return std::nullopt;
  return static_cast<uint16_t>(*number);
}

std::optional<OptionError> ParseConsoleArguments(const std::vector<std::wstring>& arguments, ConsoleOptions& options) {
  options = ConsoleOptions{};
  CommandLine line;
  if (auto error = SplitCommandLine(arguments, line)) return error;

  // The answer file first, so that the command line's values replace its own.
  for (const GivenOption& option : line.options) {
    if (option.name != L"answer-file") continue;
    if (option.value.empty()) return Error(option.name, L"cli.err.empty");
    if (auto error = ApplyAnswerFile(option.value, options, line)) return error;
  }
  if (!line.words.empty()) {
    const auto verb = VerbOf(line.words[0]);
    if (!verb) return OptionError{line.words[0], L"cli.err.verb", {}};
    if (options.verb != ConsoleVerb::None && options.verb != *verb) {
      return OptionError{line.words[0], L"cli.err.verbconflict", {}};
    }
    options.verb = *verb;
    size_t used = 1;
    if (*verb == ConsoleVerb::List && line.words.size() > 1) {
      const auto subject = SubjectOf(line.words[1]);
      if (!subject) return OptionError{line.words[1], L"cli.err.subject", {}};
      options.subject = *subject;
      used = 2;
    }
    if (line.words.size() > used) return OptionError{line.words[used], L"cli.err.extraword", {}};
  }
  for (const GivenOption& option : line.options) {
    if (auto error = Apply(options, option.name, option.value)) return error;
    if (!options.Has(option.name)) options.given.push_back(option.name);
  }
  if (options.verb == ConsoleVerb::Help) return std::nullopt;
  if (options.verb == ConsoleVerb::None) return OptionError{L"", L"cli.err.noverb", {}};
  return CheckCombination(options);
}

std::wstring DescribeOptionError(const OptionError& error) {
  std::wstring problem = FormatText(GetText(error.problemKey.c_str()), error.argument);
  return error.option.empty() ? problem : error.option + L": " + problem;
}
