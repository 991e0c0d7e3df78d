// The planted files themselves: each leaves its marker when it does run, so a test that
// finds no marker proves that nothing planted ran. And the console program started among
// them lists the spooler's printers through the real spooler library.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/WideText.h"
#include "exe-win32/ConsoleRun.h"
#include "exe-win32/PlantedFolder.h"
#include "shell/console/ConsoleProgram.h"

namespace {

using namespace exetest;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(Planting, PlantedFilesLeaveTheirMarkersWhenTheyRun) {
  const PlantedFolder planted;
  ASSERT_TRUE(planted.Ready()) << planted.Problem();
  const std::wstring program = planted.CurrentDirectory() + L"\\certutil.exe";
  const ConsoleRun run = RunConsole(L"", program);
  EXPECT_EQ(run.code, 0u);
  EXPECT_TRUE(Exists(program + L".marker"));

  // Under a name of its own, so that the spooler library this program has loaded is not
  // taken instead.
  const std::wstring library = planted.CurrentDirectory() + L"\\check.dll";
  ASSERT_TRUE(CopyFileW((planted.CurrentDirectory() + L"\\winspool.drv").c_str(), library.c_str(), FALSE));
  const HMODULE loaded = LoadLibraryExW(library.c_str(), nullptr, 0);
  ASSERT_NE(loaded, nullptr) << GetLastError();
  FreeLibrary(loaded);
  EXPECT_TRUE(Exists(library + L".marker"));
}

TEST(Planting, TheConsoleProgramAmongPlantedFilesUsesTheSystemsOwn) {
  if (ConsolePath().empty()) GTEST_SKIP() << "QUORVEL_CONSOLE_UNDER_TEST does not name the console program";
  const PlantedFolder planted;
  ASSERT_TRUE(planted.Ready()) << planted.Problem();
  const ConsoleRun listed = RunConsole(L"list ports", planted.ConsoleCopy(), planted.CurrentDirectory().c_str());
  EXPECT_EQ(listed.code, kExitSuccess) << listed.output;
  EXPECT_NE(listed.output.find("COM1:"), std::string::npos) << listed.output;
  for (const auto& marker : planted.Markers()) ADD_FAILURE() << "a planted file ran: " << WideToUtf8(marker);
}

}  // namespace
