// The DLLs the shipped programs import, read from their files. The loader resolves the
// ordinary imports before the first line runs and looks for any DLL that Windows does not
// keep among its KnownDLLs beside the program first: a file of that name in a downloads
// folder would run elevated. So only KnownDLLs are imported the ordinary way; every other
// system DLL is delay-loaded, after the entry point has restricted the search.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<char> FileBytes(const wchar_t* variable) {
  const wchar_t* path = _wgetenv(variable);
  if (path == nullptr) return {};
  FILE* file = _wfopen(path, L"rb");
  if (file == nullptr) return {};
  std::vector<char> bytes;
  char buffer[65536];
  size_t read = 0;
  while ((read = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.insert(bytes.end(), buffer, buffer + read);
  fclose(file);
  return bytes;
}

// The DLL names of a 32-bit image's import and delay-import tables, lower case.
struct ImportedDlls {
  std::vector<std::string> loaded;   // by the loader, before the program runs
  std::vector<std::string> delayed;  // at the first call
  std::string error;
};

class ImageReader {
 public:
  explicit ImageReader(const std::vector<char>& bytes) : bytes_(bytes) {}

  template <typename T>
  const T* At(size_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) return nullptr;
    return reinterpret_cast<const T*>(bytes_.data() + offset);
  }

  bool ReadHeaders() {
    const auto* dos = At<IMAGE_DOS_HEADER>(0);
    if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    nt_ = At<IMAGE_NT_HEADERS32>(static_cast<size_t>(dos->e_lfanew));
    if (nt_ == nullptr || nt_->Signature != IMAGE_NT_SIGNATURE ||
        nt_->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
      return false;
    }
    sections_ = static_cast<size_t>(dos->e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
                nt_->FileHeader.SizeOfOptionalHeader;
    return true;
  }

  // The file offset of a relative address, through the section that holds it.
  std::optional<size_t> Offset(DWORD rva) const {
    for (WORD i = 0; i < nt_->FileHeader.NumberOfSections; ++i) {
      const auto* section = At<IMAGE_SECTION_HEADER>(sections_ + i * sizeof(IMAGE_SECTION_HEADER));
      if (section == nullptr) return std::nullopt;
      const DWORD size = std::max(section->Misc.VirtualSize, section->SizeOfRawData);
      if (rva >= section->VirtualAddress && rva - section->VirtualAddress < size) {
        return section->PointerToRawData + (rva - section->VirtualAddress);
      }
    }
    return std::nullopt;
  }

  std::optional<std::string> NameAt(DWORD rva) const {
    const auto offset = Offset(rva);
    if (!offset || *offset >= bytes_.size()) return std::nullopt;
    const char* first = bytes_.data() + *offset;
    const size_t length = strnlen(first, bytes_.size() - *offset);
    std::string name(first, length);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    return name;
  }

  const IMAGE_DATA_DIRECTORY& Directory(int index) const { return nt_->OptionalHeader.DataDirectory[index]; }
  DWORD ImageBase() const { return nt_->OptionalHeader.ImageBase; }

 private:
  const std::vector<char>& bytes_;
  const IMAGE_NT_HEADERS32* nt_ = nullptr;
  size_t sections_ = 0;
};

// The delay-import record as the linker writes it (delayimp.h is not in every toolkit).
struct DelayImportRecord {
  DWORD attributes;  // bit 0: the addresses are relative; else they are virtual addresses
  DWORD dllName;
  DWORD module;
  DWORD addressTable;
  DWORD nameTable;
  DWORD boundTable;
  DWORD unloadTable;
  DWORD timeStamp;
};

bool LooksLikeLibraryName(const std::string& name) {
  if (name.size() < 5 || name.size() > 64) return false;
  if (!std::all_of(name.begin(), name.end(),
                   [](char c) { return isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '-'; })) {
    return false;
  }
  const std::string suffix = name.substr(name.size() - 4);
  return suffix == ".dll" || suffix == ".drv" || suffix == ".cpl";
}

ImportedDlls ReadImports(const std::vector<char>& bytes) {
  ImportedDlls result;
  ImageReader image(bytes);
  if (!image.ReadHeaders()) {
    result.error = "not a 32-bit image";
    return result;
  }
  if (const DWORD table = image.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress; table != 0) {
    const auto offset = image.Offset(table);
    for (size_t at = offset.value_or(bytes.size());; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto* entry = image.At<IMAGE_IMPORT_DESCRIPTOR>(at);
      if (entry == nullptr) {
        result.error = "the import table runs past the file";
        return result;
      }
      if (entry->Name == 0) break;
      result.loaded.push_back(image.NameAt(entry->Name).value_or("?"));
    }
  }
  if (const DWORD table = image.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress; table != 0) {
    const auto offset = image.Offset(table);
    for (size_t at = offset.value_or(bytes.size());; at += sizeof(DelayImportRecord)) {
      const auto* entry = image.At<DelayImportRecord>(at);
      if (entry == nullptr) {
        result.error = "the delay-import table runs past the file";
        return result;
      }
      if (entry->dllName == 0) break;
      const DWORD name = (entry->attributes & 1) != 0 ? entry->dllName : entry->dllName - image.ImageBase();
      result.delayed.push_back(image.NameAt(name).value_or("?"));
    }
  } else {
    // GNU ld leaves the directory entry empty; the records are then found by their shape.
    for (size_t at = 0; at + sizeof(DelayImportRecord) <= bytes.size(); at += 4) {
      const auto* entry = image.At<DelayImportRecord>(at);
      if (entry->attributes != 1 || !image.Offset(entry->module) || !image.Offset(entry->addressTable) ||
          !image.Offset(entry->nameTable)) {
        continue;
      }
      const auto name = image.NameAt(entry->dllName);
      if (name && LooksLikeLibraryName(*name)) result.delayed.push_back(*name);
    }
  }
  return result;
}

// What Windows 10 and 11 keep as KnownDLLs (mapped from the system directory whatever
// folder the program is in), plus ntdll and the side-by-side common controls.
const std::map<std::string, const char*> kLoadedAtStart = {
    {"kernel32.dll", "a KnownDLL"},
    {"user32.dll", "a KnownDLL"},
    {"gdi32.dll", "a KnownDLL"},
    {"advapi32.dll", "a KnownDLL"},
    {"shell32.dll", "a KnownDLL"},
    {"shlwapi.dll", "a KnownDLL"},
    {"ole32.dll", "a KnownDLL"},
    {"oleaut32.dll", "a KnownDLL"},
    {"comdlg32.dll", "a KnownDLL"},
    {"imm32.dll", "a KnownDLL"},
    {"msvcrt.dll", "a KnownDLL"},
    {"rpcrt4.dll", "a KnownDLL"},
    {"setupapi.dll", "a KnownDLL"},
    {"combase.dll", "a KnownDLL"},
    {"shcore.dll", "a KnownDLL"},
    {"sechost.dll", "a KnownDLL"},
    {"ws2_32.dll", "a KnownDLL"},
    {"ntdll.dll", "always loaded first"},
    {"comctl32.dll", "bound to the system's copy by the side-by-side manifest"},
};

// Resolved after the entry point restricted the search to the system directory.
const std::map<std::string, const char*> kDelayLoaded = {
    {"winspool.drv", "the spooler library, no KnownDLL"},
};

void ExpectOnlySafeImports(const wchar_t* variable) {
  const std::vector<char> bytes = FileBytes(variable);
  if (bytes.empty()) GTEST_SKIP() << "the variable does not name a readable program";
  const ImportedDlls imports = ReadImports(bytes);
  ASSERT_TRUE(imports.error.empty()) << imports.error;
  EXPECT_FALSE(imports.loaded.empty()) << "no import table found";
  for (const std::string& dll : imports.loaded) {
    const auto known = kLoadedAtStart.find(dll);
    EXPECT_NE(known, kLoadedAtStart.end())
        << dll << " is imported the ordinary way but is no KnownDLL: the loader would look for it beside the "
        << "program before its first line runs. Delay-load it or look it up at run time.";
    if (known != kLoadedAtStart.end()) std::printf("  %s: %s\n", dll.c_str(), known->second);
  }
  // Both programs call the spooler: its library must show up as delay-loaded.
  EXPECT_NE(std::find(imports.delayed.begin(), imports.delayed.end(), "winspool.drv"), imports.delayed.end())
      << "no delay-import of winspool.drv found";
  for (const std::string& dll : imports.delayed) {
    const auto known = kDelayLoaded.find(dll);
    EXPECT_NE(known, kDelayLoaded.end()) << dll
                                         << " is delay-loaded but not in this test's list: add it with its reason";
    if (known != kDelayLoaded.end()) std::printf("  %s (delay-loaded): %s\n", dll.c_str(), known->second);
  }
}

}  // namespace

TEST(ProductImports, TheWizardImportsOnlyKnownDllsBeforeItRuns) {
  ExpectOnlySafeImports(L"QUORVEL_PRODUCT_EXE");
}

TEST(ProductImports, TheConsoleProgramImportsOnlyKnownDllsBeforeItRuns) {
  ExpectOnlySafeImports(L"QUORVEL_CONSOLE_EXE");
}
