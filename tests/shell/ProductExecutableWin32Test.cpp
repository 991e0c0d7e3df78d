#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/ResourcePackage.h"
#include "base/Version.h"

// Checks the shipped program itself (not this test program): its PE header, the embedded
// package and the manifest, read back through the system's own resource functions.
namespace {

std::wstring PathOf(const wchar_t* variable) {
  const wchar_t* path = _wgetenv(variable);
  return path ? path : L"";
}

std::wstring ProductPath() {
  return PathOf(L"QUORVEL_PRODUCT_EXE");
}

struct ModuleAsData {
  HMODULE module = nullptr;
  explicit ModuleAsData(const std::wstring& path)
      : module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~ModuleAsData() {
    if (module) FreeLibrary(module);
  }
  ModuleAsData(const ModuleAsData&) = delete;
  ModuleAsData& operator=(const ModuleAsData&) = delete;
};

std::string ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language) {
  HRSRC info = FindResourceExW(module, type, name, language);
  if (!info) return {};
  HGLOBAL loaded = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const auto* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return bytes ? std::string(bytes, size) : std::string();
}

}  // namespace

// The 32-bit PE header's machine, optional-header kind and subsystem.
void ExpectPe32(const std::wstring& path, WORD subsystem) {
  std::vector<char> head(4096);
  FILE* f = _wfopen(path.c_str(), L"rb");
  ASSERT_NE(f, nullptr);
  const size_t n = fread(head.data(), 1, head.size(), f);
  fclose(f);
  ASSERT_GT(n, 0x200u);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(head.data() + dos->e_lfanew);
  ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, subsystem);
}

// The manifests' own identity follows the project version and names the exe's architecture.
constexpr const char* kOwnIdentity = "version=\"" QUORVEL_VERSION_NUMBERS "\" processorArchitecture=\"x86\"";

TEST(ProductExecutable, IsA32BitGuiProgram) {
  const std::wstring path = ProductPath();
  if (path.empty()) GTEST_SKIP() << "QUORVEL_PRODUCT_EXE does not name the product";
  ExpectPe32(path, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

// The console companion: 32-bit, console subsystem, the same package, and a manifest that
// asks for no elevation (deployment agents run it elevated; it checks the rights itself).
TEST(ProductExecutable, ConsoleProgramIs32BitWithThePackageAndAsksForNoElevation) {
  const std::wstring path = PathOf(L"QUORVEL_CONSOLE_EXE");
  if (path.empty()) GTEST_SKIP() << "QUORVEL_CONSOLE_EXE does not name the console program";
  ExpectPe32(path, IMAGE_SUBSYSTEM_WINDOWS_CUI);
  ModuleAsData console(path);
  ASSERT_NE(console.module, nullptr) << "LoadLibraryExW failed: " << GetLastError();
  const std::string zip = ResourceBytes(console.module, L"ZIPRES", MAKEINTRESOURCEW(129),
                                        MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  auto package = ResourcePackage::OpenFromMemory(zip.data(), zip.size());
  ASSERT_NE(package, nullptr);
  EXPECT_TRUE(package->ReadEntry("lan_en_ext.xml").has_value());
  const std::string manifest = ResourceBytes(console.module, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1),
                                             MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  EXPECT_NE(manifest.find("level=\"asInvoker\" uiAccess=\"false\""), std::string::npos) << manifest;
  EXPECT_NE(manifest.find(kOwnIdentity), std::string::npos) << manifest;
}

TEST(ProductExecutable, CarriesThePackageAndTheManifest) {
  const std::wstring path = ProductPath();
  if (path.empty()) GTEST_SKIP() << "QUORVEL_PRODUCT_EXE does not name the product";
  ModuleAsData product(path);
  ASSERT_NE(product.module, nullptr) << "LoadLibraryExW failed: " << GetLastError();

  const std::string zip = ResourceBytes(product.module, L"ZIPRES", MAKEINTRESOURCEW(129),
                                        MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  ASSERT_FALSE(zip.empty()) << "no ZIPRES/129 in language 2052";
  auto package = ResourcePackage::OpenFromMemory(zip.data(), zip.size());
  ASSERT_NE(package, nullptr);
  EXPECT_TRUE(package->ReadEntry("res.xml").has_value());
  for (const char* name :
       {"lan_cn.xml", "lan_en.xml", "lan_es.xml", "lan_ja.xml", "lan_ko.xml", "lan_pt.xml", "lan_th.xml"}) {
    EXPECT_TRUE(package->ReadEntry(name).has_value()) << name;
  }

  const std::string manifest = ResourceBytes(product.module, MAKEINTRESOURCEW(24), MAKEINTRESOURCEW(1),
                                             MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("level=\"requireAdministrator\" uiAccess=\"false\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos);
  // Windows 10 takes per-monitor awareness from here and older systems the line above.
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find(kOwnIdentity), std::string::npos) << manifest;
}
