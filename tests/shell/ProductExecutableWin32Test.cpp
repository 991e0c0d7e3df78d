#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/ResourcePackage.h"

// Checks the shipped program itself (not this test program): its PE header, the embedded
// package and the manifest, read back through the system's own resource functions.
namespace {

std::wstring ProductPath() {
  const wchar_t* path = _wgetenv(L"QUORVEL_PRODUCT_EXE");
  return path ? path : L"";
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

TEST(ProductExecutable, IsA32BitGuiProgram) {
  const std::wstring path = ProductPath();
  if (path.empty()) GTEST_SKIP() << "QUORVEL_PRODUCT_EXE does not name the product";
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
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
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
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
}
