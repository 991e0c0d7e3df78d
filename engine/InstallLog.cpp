#include "engine/InstallLog.h"

#include "base/TextTable.h"
#include "base/WideText.h"
#include "shell/LogLines.h"

void InstallLog::Clear() const {
  AppendInstallLine(mainWindow_, L"", false, true);
}

void InstallLog::Plain(const wchar_t* key, std::wstring_view argument) const {
  PlainText(FormatText(GetText(key), argument));
}

void InstallLog::Error(const wchar_t* key, std::wstring_view argument) const {
  ErrorText(FormatText(GetText(key), argument));
}

void InstallLog::PlainText(std::wstring text) const {
  AppendInstallLine(mainWindow_, std::move(text), false, false);
}

void InstallLog::ErrorText(std::wstring text) const {
  AppendInstallLine(mainWindow_, std::move(text), true, false);
}
