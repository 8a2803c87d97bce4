// The system DLLs that are not known DLLs are delay-loaded (check_imports.sh
// sees that the program imports none of them at start): the calls into them
// still work, each DLL coming from the system folder once the search is
// limited to it.
#include <windows.h>

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <string>

#include "platform/dll_search_win.h"
#include "platform/unique_handle_win.h"
#include "platform/win32_platform.h"
#include "tests/windows/beside_this_test.h"

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string SystemFolder() {
  char folder[MAX_PATH]{};
  GetSystemDirectoryA(folder, sizeof folder);
  return Lower(folder);
}

std::string LoadedFrom(const char* dll) {
  const HMODULE module = GetModuleHandleA(dll);
  if (!module) return "<not loaded>";
  char path[MAX_PATH]{};
  GetModuleFileNameA(module, path, sizeof path);
  const std::string lower = Lower(path);
  return lower.substr(0, lower.find_last_of('\\'));
}

}  // namespace

TEST(DelayLoad, CallsIntoDelayLoadedDllsWorkAndTakeThemFromTheSystemFolder) {
  LimitDllSearchToSystemFolder();
  // version.dll: the version resource of a test fixture.
  const VersionResource::Result version =
      Win32VersionResource().ReadFileVersion(BesideThisTest("version_fixture.exe"));
  EXPECT_EQ(version.outcome, VersionResource::Outcome::Found);
  EXPECT_EQ(version.fileVersionMS, (2u << 16) | 10u);
  EXPECT_EQ(version.fileVersionLS, 7u);
  // winmm.dll: the time since the system started, in milliseconds.
  EXPECT_NE(timeGetTime(), 0u);
  // msimg32.dll: a gradient into a memory bitmap.
  const UniqueDC dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  TRIVERTEX corners[2] = {{0, 0, 0xFF00, 0, 0, 0}, {4, 4, 0xFF00, 0, 0, 0}};
  GRADIENT_RECT rectangle{0, 1};
  const UniqueBitmap bitmap(CreateCompatibleBitmap(dc.Get(), 4, 4));
  const SelectedObject selected(dc.Get(), bitmap.Get());
  EXPECT_TRUE(GradientFill(dc.Get(), corners, 2, &rectangle, 1, GRADIENT_FILL_RECT_H));

  for (const char* dll : {"version.dll", "winmm.dll", "msimg32.dll"}) {
    SCOPED_TRACE(dll);
    EXPECT_EQ(LoadedFrom(dll), SystemFolder());
  }
}
