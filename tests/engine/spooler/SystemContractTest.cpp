// System information, error texts and the shell's programs against the platform.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/WideText.h"
#include "engine/DriverModelRecord.h"
#include "engine/FolderMethod.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/ShellCommands.h"
#include "engine/spooler/SpoolerOperations.h"
#include "engine/spooler/SystemOperations.h"
#include "shell/EmbeddedPackage.h"
#include "shell/Languages.h"
#include "ui/core/ResourceManager.h"

namespace {

// Sets the message language for one test and puts the old one back.
class MessageLanguage {
 public:
  explicit MessageLanguage(uint16_t languageId) : before_(MessageLanguageId()) { SetMessageLanguageId(languageId); }
  ~MessageLanguage() { SetMessageLanguageId(before_); }

 private:
  uint16_t before_;
};

std::wstring AfterPrefix(const std::wstring& text, const std::wstring& prefix) {
  return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : std::wstring();
}

TEST(SystemContract, SystemErrorReadsCodeThenTheSystemsTextInTheMessageLanguage) {
  std::wstring english, chinese;
  {
    const MessageLanguage language(0x0409);
    english = FormatSystemError(5);
  }
  {
    const MessageLanguage language(0x0804);
    chinese = FormatSystemError(5);
  }
  const std::wstring englishText = AfterPrefix(english, L"Code: 5 - ");
  const std::wstring chineseText = AfterPrefix(chinese, L"Code: 5 - ");
  EXPECT_FALSE(englishText.empty()) << WideToUtf8(english);
  EXPECT_FALSE(chineseText.empty()) << WideToUtf8(chinese);
  EXPECT_NE(englishText, chineseText);
  EXPECT_TRUE(std::any_of(chineseText.begin(), chineseText.end(), [](wchar_t c) { return c >= 0x4E00 && c <= 0x9FFF; }))
      << WideToUtf8(chinese);
  EXPECT_NE(englishText.find(L"ccess"), std::wstring::npos) << WideToUtf8(english);
}

TEST(SystemContract, SystemErrorFallsBackFromALanguageWithoutTextsAndIsEmptyForNoMessage) {
  const MessageLanguage language(0x041E);  // Thai: no system texts on these machines
  EXPECT_FALSE(AfterPrefix(FormatSystemError(87), L"Code: 87 - ").empty()) << WideToUtf8(FormatSystemError(87));
  EXPECT_EQ(FormatSystemError(99999), L"");
}

TEST(SystemContract, FileNameOfPathFindsWhatPathFindFileNameFinds) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"driver\\a4\\Driver64\\QuorvelA4UNI203.dll", L"QuorvelA4UNI203.dll"},
      {L"QuorvelA4300.pcd", L"QuorvelA4300.pcd"},
      {L"C:\\PrinterDriver\\Vexlomar\\", L"Vexlomar\\"},
      {L"C:file.txt", L"file.txt"},
      {L"a/b/c.hlp", L"c.hlp"},
      {L"C:\\", L"C:\\"},
      {L"", L""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(FileNameOfPath(path), name) << WideToUtf8(path);
}

TEST(SystemContract, VersionAnswersAgree) {
  const auto version = GetWindowsVersion();
  ASSERT_TRUE(version);
  EXPECT_GE(version->major, 5u);
  EXPECT_EQ(IsVersion62OrLater(), version->major > 6 || (version->major == 6 && version->minor >= 2));
}

TEST(SystemContract, ProgramFilesFolderExists) {
  const auto folder = ProgramFilesFolder();
  ASSERT_TRUE(folder);
  EXPECT_TRUE(contract::DirectoryExists(*folder)) << WideToUtf8(*folder);
}

TEST(SystemContract, InstallAppletInstallsTheModelFromTheExtractedInf) {
  ui::ResourceManager::Instance().SetPackage(OpenEmbeddedPackage());
  const contract::ScratchFolder folder;
  const DriverModelRecord model = BuildDriverModelRecords()[0];
  // The installation's FolderMethod, into a scratch folder instead of the program files.
  const std::wstring base = folder.Path() + L"\\";
  ASSERT_TRUE(CreateInstallSubFolders(base, model));
  ASSERT_EQ(ExtractInstallFolder(base, model), std::nullopt);
  const std::wstring environment = contract::PrinterDriverEnvironment();
  const bool before = DriverInstalled(model.driverName, environment);
  ASSERT_TRUE(RunDriverInstallApplet(model.driverName, InstallFolderInf(base, model, Is64BitWindows()), nullptr));
  const bool installed = DriverInstalled(model.driverName, environment);
  if (!installed && !before && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's printui.dll does nothing for /ia (rundll32 exits 0 at once)";
  }
  EXPECT_TRUE(installed);
  std::vector<SpoolerEntry> drivers;
  ListDrivers(drivers, environment);
  const auto driver = std::find_if(drivers.begin(), drivers.end(),
                                   [&](const SpoolerEntry& entry) { return entry.driverName == model.driverName; });
  ASSERT_NE(driver, drivers.end());
  if (driver->infPath.empty() && before && contract::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's printui.dll does nothing for /ia; the driver of that name was there before";
  }
  EXPECT_NE(driver->infPath, L"") << "a driver installed from an INF belongs to a driver package";
}

}  // namespace
