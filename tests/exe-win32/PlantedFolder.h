// A folder as a downloads folder could be: copies of the product and the console program
// beside files named as the system's programs and spooler library ("rundll32.exe",
// "certutil.exe", "winspool.drv"), and a second folder with the same planted files to start
// them in. A planted file that runs writes "<its name>.marker" beside itself. Wine is told
// to prefer a native spooler library, as Windows does for any DLL outside its KnownDLLs.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace exetest {

class PlantedFolder {
 public:
  PlantedFolder() {
    wchar_t temp[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, temp);
    if (length == 0 || length >= MAX_PATH) {
      Fail(L"no temporary folder");
      return;
    }
    root_ = std::wstring(temp) + L"quorvel-planted-" + std::to_wstring(GetCurrentProcessId());
    app_ = root_ + L"\\app";
    current_ = root_ + L"\\current";
    for (const auto* folder : {&root_, &app_, &current_}) {
      if (!CreateDirectoryW(folder->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        Fail(L"cannot make " + *folder);
        return;
      }
    }
    const std::wstring own = OwnFolder();
    for (const auto* folder : {&app_, &current_}) {
      Copy(own + L"\\planted-program.exe", *folder + L"\\rundll32.exe");
      Copy(own + L"\\planted-program.exe", *folder + L"\\certutil.exe");
      Copy(own + L"\\planted-library.dll", *folder + L"\\winspool.drv");
    }
    if (const wchar_t* product = _wgetenv(L"QUORVEL_PRODUCT_UNDER_TEST")) Copy(product, ProductCopy());
    if (const wchar_t* console = _wgetenv(L"QUORVEL_CONSOLE_UNDER_TEST")) Copy(console, ConsoleCopy());
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", L"winspool.drv=n,b");
  }
  ~PlantedFolder() {
    SetEnvironmentVariableW(L"WINEDLLOVERRIDES", nullptr);
    if (root_.empty()) return;
    for (const auto* folder : {&app_, &current_}) {
      for (const auto& name : FilesIn(*folder, L"*")) DeleteFileW((*folder + L"\\" + name).c_str());
      RemoveDirectoryW(folder->c_str());
    }
    RemoveDirectoryW(root_.c_str());
  }
  PlantedFolder(const PlantedFolder&) = delete;
  PlantedFolder& operator=(const PlantedFolder&) = delete;

  bool Ready() const { return problem_.empty(); }
  std::string Problem() const { return std::string(problem_.begin(), problem_.end()); }
  std::wstring ProductCopy() const { return app_ + L"\\QuorvelSetup.exe"; }
  std::wstring ConsoleCopy() const { return app_ + L"\\QuorvelSetupCli.exe"; }
  std::wstring ProgramFolder() const { return app_; }
  std::wstring CurrentDirectory() const { return current_; }

  // The markers that planted files left, with their folders.
  std::vector<std::wstring> Markers() const {
    std::vector<std::wstring> found;
    for (const auto* folder : {&app_, &current_}) {
      for (const auto& name : FilesIn(*folder, L"*.marker")) found.push_back(*folder + L"\\" + name);
    }
    return found;
  }

 private:
  void Fail(const std::wstring& why) {
    if (problem_.empty()) problem_ = why;
  }
  void Copy(const std::wstring& from, const std::wstring& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) Fail(L"cannot copy " + from);
  }
  static std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L"\\/"));
  }
  static std::vector<std::wstring> FilesIn(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data{};
    const HANDLE find = FindFirstFileW((folder + L"\\" + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
  }

  std::wstring root_;
  std::wstring app_;
  std::wstring current_;
  std::wstring problem_;
};

}  // namespace exetest
