#include "shell/console/ConsoleProgram.h"

#include <variant>

#include "base/ProgramPackage.h"
#include "base/TextTable.h"
#include "base/WideText.h"
#include "devices/RemovalWorker.h"
#include "engine/ProtectedPrintWarning.h"
#include "engine/RunInstallation.h"
#include "engine/spooler/InstallationLock.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/LanguageTexts.h"
#include "shell/Languages.h"
#include "shell/LocalTime.h"
#include "shell/MainWindowMessages.h"
#include "shell/MessageBoxes.h"
#include "shell/UiTextMessage.h"
#include "shell/console/ConsoleDetection.h"
#include "shell/console/ConsoleListing.h"
#include "shell/console/ConsoleOptions.h"
#include "shell/console/ConsolePlan.h"
#include "shell/console/MessageSink.h"
#include "shell/console/NativePath.h"
#include "shell/console/RunLog.h"

namespace {

#ifdef _WIN32
constexpr const wchar_t* kProgramName = L"QuorvelSetupCli";
#else
constexpr const wchar_t* kProgramName = L"quorvel-setup-cli";
#endif

// The option syntax stands as the program reads it, in every language.
constexpr const wchar_t* kSyntax =
    L"  list printers|drivers [--all] [--json]\n"
    L"  list ports|usb|bluetooth [--json]\n"
    L"  detect [--printer NAME] [--model 203|300] [--json]\n"
    L"  install --model 203|300 --port existing|lpt|com --port-name NAME\n"
    L"  install --model 203|300 --port network --address A.B.C.D [--port-name NAME]\n"
    L"  install --model 203|300 --port usb (--usb N | --port-name USBnnn)\n"
    L"  install --model 203|300 --port bluetooth --address XX:XX:XX:XX:XX:XX [--pin PIN]\n"
    L"          [--printer-name NAME] [--default yes|no]\n"
    L"  remove [--printer NAME]... [--driver NAME]...\n"
    L"  --answer-file FILE  --what-if  --language ID  --log FILE\n";

// Standard output and error, each line also written to the run's log file when it has one.
class Output {
 public:
  explicit Output(const ConsoleStreams& streams) : streams_(streams) {}

  RunLog& Log() { return log_; }
  void Out(std::wstring_view text) {
    streams_.out(text);
    log_.Write(text, CurrentLocalTime());
  }
  void Err(std::wstring_view text) {
    streams_.err(text);
    log_.Write(text, CurrentLocalTime());
  }
  // A worker's line as the log pane shows it: the time, then the text; the system's error
  // texts end with their own line break, which the console does not double.
  void Timed(std::wstring text) {
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    std::wstring line;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
      line += text[i];
    }
    const LocalTime now = CurrentLocalTime();
    streams_.out(LogTimePrefix(now) + line + L"\n");
    log_.Write(line, now);
  }
  void FailedLine(std::wstring_view text) {
    if (streams_.failedLine) streams_.failedLine(text);
  }

 private:
  const ConsoleStreams& streams_;
  RunLog log_;
};

// The command line as the log shows it: arguments with blanks or quotes in quotes, and a
// Bluetooth PIN hidden.
std::wstring LoggedCommandLine(const std::vector<std::wstring>& arguments) {
  std::wstring line = kProgramName;
  bool pinNext = false;
  for (const std::wstring& argument : arguments) {
    std::wstring shown = argument;
    if (pinNext) {
      shown = L"****";
    } else if (argument.rfind(L"--pin=", 0) == 0) {
      shown = L"--pin=****";
    }
    pinNext = argument == L"--pin";
    if (shown.empty() || shown.find_first_of(L" \t\"") != std::wstring::npos) {
      std::wstring quoted = L"\"";
      for (wchar_t c : shown) quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
      shown = quoted + L"\"";
    }
    line += L" " + shown;
  }
  return line;
}

void UseLanguage(uint16_t languageId) {
  const LanguageEntry language = LanguageById(languageId);
  ProcessLanguageId() = language.languageId;
  LoadLanguageTexts(language);
  SetMessageLanguageId(language.languageId);
}

int Refuse(Output& output, const OptionError& error) {
  output.Err(DescribeOptionError(error) + L"\n");
  output.Err(GetText(L"cli.usagehint") + L"\n");
  return kExitBadArguments;
}

int ListVerb(Output& output, const ConsoleOptions& options) {
  auto list = CollectList(options);
  if (auto* refusal = std::get_if<MachineRefusal>(&list)) {
    output.Err(refusal->text + L"\n");
    return kExitStepFailed;
  }
  const ListTable& table = std::get<ListTable>(list);
  output.Out(options.json ? FormatListJson(table) : FormatListText(table));
  return kExitSuccess;
}

// Exit 0 with one line (or the records) on standard output when found; else 1, nothing
// on standard output and the reason on standard error; 1603 when the spooler's lists
// cannot be read.
int DetectVerb(Output& output, const ConsoleOptions& options) {
  const auto detection = DetectInstallation(options);
  if (const auto* absent = std::get_if<DetectionAbsent>(&detection)) {
    output.Err(absent->reason + L"\n");
    return kExitNotDetected;
  }
  if (const auto* refusal = std::get_if<MachineRefusal>(&detection)) {
    output.Err(refusal->text + L"\n");
    return kExitStepFailed;
  }
  const auto& found = std::get<DetectedInstallation>(detection);
  output.Out(options.json ? DetectionJson(found) : DescribeDetection(found));
  return kExitSuccess;
}

// Runs one worker with the sink as its main window; the boxes it would show become lines.
template <typename Work>
void RunWorker(Output& output, uint32_t logMessage, Work work) {
  MessageSink sink([&](uint32_t message, uintptr_t, intptr_t lParam) {
    if (message != logMessage || lParam == 0) return;
    const auto* line = reinterpret_cast<const UiTextMessage*>(lParam);
    if (line->flag2) return;
    output.Timed(line->text);
    if (line->flag1) output.FailedLine(line->text);
  });
  SetMessageBoxAnswerer([&](const std::wstring& text, unsigned flags) {
    output.Timed(text);
    // Nobody is there to answer: a question is declined.
    return flags == kMessageBoxQuestion ? kMessageBoxCancel : kMessageBoxOk;
  });
  work(sink.Handle());
  SetMessageBoxAnswerer(nullptr);
}

int ChangingVerb(Output& output, const ConsoleOptions& options) {
  if (!options.whatIf && !RunningAsAdministrator()) {
    output.Err(GetText(L"cli.notadmin") + L"\n");
    return kExitAccessDenied;
  }
  std::vector<std::wstring> steps;
  std::optional<InstallationInputs> installation;
  std::optional<RemovalJob> removal;
  if (options.verb == ConsoleVerb::Install) {
    InstallPlan plan = PlanInstallation(options);
    if (auto* error = std::get_if<OptionError>(&plan)) return Refuse(output, *error);
    if (auto* refusal = std::get_if<MachineRefusal>(&plan)) {
      output.Err(refusal->text + L"\n");
      return kExitStepFailed;
    }
    // The spooler would refuse the driver: say so before anything changes.
    if (const std::wstring refusal = ProtectedPrintRefusalText(); !refusal.empty()) {
      output.Err(refusal + L"\n");
      return kExitStepFailed;
    }
    installation = std::get<InstallationInputs>(std::move(plan));
    steps = DescribeInstallation(*installation);
  } else {
    RemovalPlan plan = PlanRemoval(options);
    if (auto* error = std::get_if<OptionError>(&plan)) return Refuse(output, *error);
    if (auto* refusal = std::get_if<MachineRefusal>(&plan)) {
      output.Err(refusal->text + L"\n");
      return kExitStepFailed;
    }
    removal = std::get<RemovalJob>(std::move(plan));
    steps = DescribeRemoval(*removal);
  }
  if (options.whatIf) {
    output.Out(GetText(L"cli.whatif") + L"\n");
    for (const auto& step : steps) output.Out(L"  " + step + L"\n");
    return kExitSuccess;
  }

  const InstallationLock lock = InstallationLock::TryAcquire();
  if (!lock.Held()) {
    output.Err(GetText(L"tip.anotherrun") + L"\n");
    return kExitAnotherRunning;
  }
  bool succeeded = false;
  if (installation) {
    RunWorker(output, kMsgInstallLog, [&](ui::WindowHandle sink) {
      installation->mainWindow = sink;
      InstallResult result;
      RunInstallation(*installation, result);
      succeeded = result.succeeded;
    });
  } else {
    RunWorker(output, kMsgRemoveLog, [&](ui::WindowHandle sink) {
      removal->mainWindow = sink;
      succeeded = RemovalWorker(*removal) == 0;
    });
  }
  return succeeded ? kExitSuccess : kExitStepFailed;
}

// Runs the verb; the log, when there is one, is open.
int RunVerb(Output& output, const ConsoleOptions& options, const std::optional<OptionError>& error) {
  if (error) return Refuse(output, *error);
  switch (options.verb) {
    case ConsoleVerb::Help:
      output.Out(FormatText(GetText(L"cli.usage"), kProgramName) + L"\n" + kSyntax + GetText(L"cli.exitcodes") + L"\n" +
                 GetText(L"cli.detectcodes") + L"\n");
      return kExitSuccess;
    case ConsoleVerb::List:
      return ListVerb(output, options);
    case ConsoleVerb::Detect:
      return DetectVerb(output, options);
    default:
      return ChangingVerb(output, options);
  }
}

// A run that may change the machine, when no --log names a file, gets a file of its own.
bool WritesDefaultLog(const ConsoleOptions& options, const std::optional<OptionError>& error) {
  return !error && options.logFile.empty() && !options.whatIf &&
         (options.verb == ConsoleVerb::Install || options.verb == ConsoleVerb::Remove);
}

}  // namespace

int RunConsoleProgram(const std::vector<std::wstring>& arguments, const ConsoleStreams& streams) {
  if (!ProgramPackage()) SetProgramPackage(OpenEmbeddedPackage());
  if (ProcessLanguageTable().empty()) FillLanguageTable(ProcessLanguageTable());
  Output output(streams);

  ConsoleOptions options;
  const std::optional<OptionError> error = ParseConsoleArguments(arguments, options);
  UseLanguage(options.languageId ? *options.languageId : ChooseStartLanguage().languageId);
  if (!options.logFile.empty() && !output.Log().OpenAppending(NativePath(options.logFile))) {
    return Refuse(output, {L"--log", L"cli.err.unwritable", options.logFile});
  }
  if (WritesDefaultLog(options, error)) {
    const std::filesystem::path folder = DefaultRunLogFolder();
    // The run goes on without its log: the log must not be why a deployment fails.
    if (folder.empty() || !output.Log().OpenNewIn(folder)) {
      streams.err(FormatText(GetText(L"cli.log.unwritable"), PathText(folder)) + L"\n");
    }
  }
  output.Log().Write(FormatText(GetText(L"cli.log.commandline"), LoggedCommandLine(arguments)), CurrentLocalTime());
  const int code = RunVerb(output, options, error);
  output.Log().Write(FormatText(GetText(L"cli.log.exitcode"), std::to_wstring(code)), CurrentLocalTime());
  return code;
}
