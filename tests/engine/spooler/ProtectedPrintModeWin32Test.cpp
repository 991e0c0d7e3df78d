// Detection of Windows protected print mode against the real registry (under Wine in the
// test run): the policy key's two values are set for the test and put back afterwards.
// Wine has no Windows.Graphics.Printing.ProtectedPrint, so there the runtime query is
// unavailable and the answer rests on the registry; that case is a named skip.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>

#include "engine/spooler/ProtectedPrintMode.h"

namespace {

constexpr wchar_t kKey[] = L"Software\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
constexpr wchar_t kPolicy[] = L"WindowsProtectedPrintGroupPolicyState";
constexpr wchar_t kSettings[] = L"WindowsProtectedPrintMode";

// The policy key as the test found it, put back when the test ends.
class PolicyKeyFixture : public testing::Test {
 protected:
  void SetUp() override {
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key_, &disposition),
              ERROR_SUCCESS)
        << "HKLM is not writable here";
    createdKey_ = disposition == REG_CREATED_NEW_KEY;
    savedPolicy_ = Read(kPolicy);
    savedSettings_ = Read(kSettings);
    Remove(kPolicy);
    Remove(kSettings);
  }

  void TearDown() override {
    Restore(kPolicy, savedPolicy_);
    Restore(kSettings, savedSettings_);
    RegCloseKey(key_);
    if (createdKey_) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, KEY_WOW64_64KEY, 0);
  }

  void Write(const wchar_t* name, DWORD value) {
    ASSERT_EQ(RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
  }
  void WriteText(const wchar_t* name, const wchar_t* text) {
    ASSERT_EQ(RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  void Remove(const wchar_t* name) { RegDeleteValueW(key_, name); }

  // A runtime that itself says the mode is on would hide what the registry gives.
  bool RuntimeSaysOn() const {
    const ProtectedPrintMode bare = DetectProtectedPrintMode();
    return bare.enabled && bare.source == ProtectedPrintSource::RuntimeQuery;
  }

 private:
  std::optional<DWORD> Read(const wchar_t* name) const {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD) {
      return std::nullopt;
    }
    return value;
  }
  void Restore(const wchar_t* name, const std::optional<DWORD>& value) {
    if (value) {
      Write(name, *value);
    } else {
      Remove(name);
    }
  }

  HKEY key_ = nullptr;
  bool createdKey_ = false;
  std::optional<DWORD> savedPolicy_, savedSettings_;
};

}  // namespace

TEST_F(PolicyKeyFixture, ProtectedPrintModeFromEachRegistrySourceAndFromNone) {
  if (RuntimeSaysOn()) GTEST_SKIP() << "the runtime query says the mode is on here; the registry cannot be told apart";
  const ProtectedPrintMode none = DetectProtectedPrintMode();
  EXPECT_FALSE(none.enabled);
  EXPECT_EQ(none.source, ProtectedPrintSource::None);

  Write(kSettings, 1);
  const ProtectedPrintMode settings = DetectProtectedPrintMode();
  EXPECT_TRUE(settings.enabled);
  EXPECT_EQ(settings.source, ProtectedPrintSource::SettingsPage);

  // A policy set to off overrules the settings page; set to on it is the source.
  Write(kPolicy, 0);
  EXPECT_FALSE(DetectProtectedPrintMode().enabled);
  Write(kPolicy, 1);
  const ProtectedPrintMode policy = DetectProtectedPrintMode();
  EXPECT_TRUE(policy.enabled);
  EXPECT_EQ(policy.source, ProtectedPrintSource::GroupPolicy);

  // A value of another type than DWORD is no answer.
  Remove(kPolicy);
  WriteText(kSettings, L"1");
  EXPECT_FALSE(DetectProtectedPrintMode().enabled);
}

TEST_F(PolicyKeyFixture, DetectionLeavesTheLastErrorAsItWas) {
  Write(kPolicy, 1);
  SetLastError(1234);
  DetectProtectedPrintMode();
  EXPECT_EQ(GetLastError(), 1234u);
}

TEST(ProtectedPrintModeRuntimeQuery, AnsweredWhereTheSystemHasTheRuntimeClass) {
  const ProtectedPrintMode mode = DetectProtectedPrintMode();
  if (!mode.runtimeQueryAvailable) {
    GTEST_SKIP() << "runtime query unavailable: this system (Wine, or Windows before 11 24H2) has no "
                    "Windows.Graphics.Printing.ProtectedPrint.WindowsProtectedPrintInfo; detection rests on the "
                    "registry";
  }
  // Where the class exists, its answer stands unless a policy says on.
  if (mode.enabled) {
    EXPECT_NE(mode.source, ProtectedPrintSource::None);
  } else {
    EXPECT_EQ(mode.source, ProtectedPrintSource::None);
  }
}
