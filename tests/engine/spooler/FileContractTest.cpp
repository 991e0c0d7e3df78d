// Directories, file look-ups and device writes against the platform.
#include <gtest/gtest.h>

#include "base/WideText.h"
#include "engine/spooler/ContractPlatform.h"
#include "engine/spooler/FileOperations.h"
#include "engine/spooler/SystemOperations.h"

namespace {

// Changes the working directory for one test and puts the old one back.
class WorkingDirectory {
 public:
  explicit WorkingDirectory(const std::wstring& path) : before_(contract::WorkingDirectory()) {
    EXPECT_TRUE(contract::ChangeWorkingDirectory(path));
  }
  ~WorkingDirectory() { contract::ChangeWorkingDirectory(before_); }

 private:
  std::wstring before_;
};

class FileContract : public testing::Test {
 protected:
  contract::ScratchFolder folder_;
};

TEST_F(FileContract, CreateDirectoryPathMakesEveryMissingLevelAndAcceptsExistingOnes) {
  const std::wstring deep = folder_.Path() + L"\\PrinterDriver\\Vexlomar\\";
  EXPECT_EQ(CreateDirectoryPath(deep), 1);
  EXPECT_TRUE(contract::DirectoryExists(folder_.Path() + L"\\PrinterDriver\\Vexlomar"));
  EXPECT_EQ(CreateDirectoryPath(deep), 1);
  EXPECT_EQ(CreateDirectoryPath(folder_.Path() + L"\\.\\dots\\.\\inside"), 1);
  EXPECT_TRUE(contract::DirectoryExists(folder_.Path() + L"\\dots\\inside"));
}

TEST_F(FileContract, CreateDirectoryPathWalksFromTheWorkingDirectoryUntilADrivePart) {
  const WorkingDirectory working(folder_.Path());
  EXPECT_EQ(CreateDirectoryPath(L"relative\\level"), 1);
  EXPECT_TRUE(contract::DirectoryExists(folder_.Path() + L"\\relative\\level"));
  // A drive part starts the walk again from that drive.
  EXPECT_EQ(CreateDirectoryPath(L"before\\" + folder_.Path() + L"\\after"), 1);
  EXPECT_TRUE(contract::DirectoryExists(folder_.Path() + L"\\before"));
  EXPECT_TRUE(contract::DirectoryExists(folder_.Path() + L"\\after"));
}

TEST_F(FileContract, CreateDirectoryPathFailsWhereAFileStandsInTheWay) {
  ASSERT_TRUE(contract::WriteFileBytes(folder_.Path() + L"\\Driver64", {1, 2, 3}));
  EXPECT_EQ(CreateDirectoryPath(folder_.Path() + L"\\Driver64"), -1);
  EXPECT_EQ(CreateDirectoryPath(folder_.Path() + L"\\Driver64\\below"), -1);
}

TEST_F(FileContract, OnlyAFileMissingFromAnExistingFolderCountsAsMissing) {
  ASSERT_TRUE(contract::WriteFileBytes(folder_.Path() + L"\\UNIDRV.dll", {1}));
  EXPECT_FALSE(FileAttributesMissing(folder_.Path() + L"\\UNIDRV.dll"));
  EXPECT_TRUE(FileAttributesMissing(folder_.Path() + L"\\UNIRES.dll"));
  // Error 3 (path not found) is not "missing": such a file counts as present.
  EXPECT_FALSE(FileAttributesMissing(folder_.Path() + L"\\no-folder\\UNIRES.dll"));
}

TEST_F(FileContract, DeviceWriteReportsTheBytesTheDeviceTook) {
  const uint8_t bytes[] = {0x1B, 0x40, 'Q', 'V', '\n'};
  EXPECT_FALSE(WriteDeviceBytes(L"", bytes, sizeof bytes));
  EXPECT_FALSE(WriteDeviceBytes(folder_.Path() + L"\\no-such-device", bytes, sizeof bytes));
  // A file opens like a device.
  const std::wstring device = folder_.Path() + L"\\device";
  ASSERT_TRUE(contract::WriteFileBytes(device, {}));
  EXPECT_TRUE(WriteDeviceBytes(device, bytes, sizeof bytes));
  EXPECT_EQ(contract::ReadFileBytes(device), std::vector<uint8_t>(bytes, bytes + sizeof bytes));
}

}  // namespace
