#include "platform/run_at_logon_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/wide_text_win.h"
#include "startup/start_with_windows.h"

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A value of this test's own in the user's real Run key, removed again after.
class RunAtLogonWin : public testing::Test {
 protected:
  RunAtLogonWin() : name("DuskTest 定时 " + std::to_string(GetCurrentProcessId())) {}
  ~RunAtLogonWin() override {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, ToWide(name).c_str());
  }

  // Stored as the system keeps it: its type and its UTF-16 text.
  [[nodiscard]] DWORD StoredType() const {
    DWORD type = REG_NONE;
    RegGetValueW(HKEY_CURRENT_USER, kRunKey, ToWide(name).c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                 nullptr, nullptr);
    return type;
  }
  [[nodiscard]] std::wstring StoredText() const {
    wchar_t text[1024] = {};
    DWORD bytes = sizeof text;
    RegGetValueW(HKEY_CURRENT_USER, kRunKey, ToWide(name).c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                 nullptr, text, &bytes);
    return text;
  }
  void Store(DWORD type, const void* data, DWORD bytes) const {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, ToWide(name).c_str(), type, data, bytes),
              ERROR_SUCCESS);
  }

  Win32RunAtLogon registry;
  const std::string name;
};

}  // namespace

TEST_F(RunAtLogonWin, ACommandIsWrittenAsTextReadBackAndRemoved) {
  EXPECT_EQ(registry.Read(name), std::nullopt);
  const std::string command = RunCommandFor("C:\\Program Files\\定时 Dusk\\Dusk.exe");
  ASSERT_TRUE(registry.Write(name, command));
  EXPECT_EQ(StoredType(), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(StoredText(), L"\"C:\\Program Files\\\u5b9a\u65f6 Dusk\\Dusk.exe\" /tray");
  EXPECT_EQ(registry.Read(name), command);

  // Written over: a longer command and a shorter one.
  const std::string longer = "\"" + std::string(600, 'x') + ".exe\" /tray";
  ASSERT_TRUE(registry.Write(name, longer));
  EXPECT_EQ(registry.Read(name), longer);
  ASSERT_TRUE(registry.Write(name, "a"));
  EXPECT_EQ(registry.Read(name), "a");

  EXPECT_TRUE(registry.Remove(name));
  EXPECT_EQ(registry.Read(name), std::nullopt);
  EXPECT_EQ(StoredType(), static_cast<DWORD>(REG_NONE));
  // Nothing left to remove is no failure.
  EXPECT_TRUE(registry.Remove(name));
}

TEST_F(RunAtLogonWin, AnExpandableValueIsReadExpandedAndOneThatIsNoTextIsNone) {
  const wchar_t expandable[] = L"\"%SystemRoot%\\Dusk.exe\" /tray";
  Store(REG_EXPAND_SZ, expandable, sizeof expandable);
  wchar_t expanded[MAX_PATH] = {};
  ExpandEnvironmentStringsW(expandable, expanded, MAX_PATH);
  ASSERT_NE(std::wstring(expanded), expandable);
  EXPECT_EQ(registry.Read(name), FromWide(expanded));

  const DWORD number = 1;
  Store(REG_DWORD, &number, sizeof number);
  EXPECT_EQ(registry.Read(name), std::nullopt);
}
