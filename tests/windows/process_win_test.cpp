#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "platform/processes_win.h"
#include "platform/wide_text_win.h"
#include "platform/win32_platform.h"
#include "process/kill_by_name.h"
#include "process/open_programs.h"
#include "process/process_listing.h"
#include "tests/windows/beside_this_test.h"
#include "widgets/form.h"
#include "widgets/image_list_win.h"
#include "widgets/mirror_factory_win.h"

namespace {

constexpr DWORD kBoundMs = 20000;
constexpr char kFixture[] = "process_fixture.exe";
// Set for a copy of this program that runs one test on the private desktop.
constexpr char kOnPrivateDesktop[] = "DUSK_TEST_ON_PRIVATE_DESKTOP";

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A window station of our own. It is not the visible one, so its windows need
// no display driver: the fixture's windows exist even where no X server runs.
class PrivateDesktop {
 public:
  static constexpr char kName[] = "DuskProcessTest\\Default";

  PrivateDesktop() : previous_(GetProcessWindowStation()) {
    station_ = CreateWindowStationA("DuskProcessTest", 0, WINSTA_ALL_ACCESS, nullptr);
    if (!station_ || !SetProcessWindowStation(station_)) return;
    desktop_ = CreateDesktopA("Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
  }
  PrivateDesktop(const PrivateDesktop&) = delete;
  PrivateDesktop& operator=(const PrivateDesktop&) = delete;
  ~PrivateDesktop() {
    SetProcessWindowStation(previous_);
    if (desktop_) CloseDesktop(desktop_);
    if (station_) CloseWindowStation(station_);
  }
  [[nodiscard]] bool Ready() const { return desktop_ != nullptr; }

  // Runs one test of this program in a copy of it on this desktop; its exit
  // code. Our own windows can only be made there: the common controls load
  // the display driver with the program, on the visible desktop.
  [[nodiscard]] static DWORD RunTestOnIt(const std::string& test) {
    std::string commandLine = "dusk_windows_tests.exe --gtest_filter=" + test;
    std::wstring wideCommandLine = ToWide(commandLine);
    std::wstring desktop = ToWide(kName);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    SetEnvironmentVariableA(kOnPrivateDesktop, "1");
    const std::wstring program = ToWide(Win32Files().ProgramFilePath());
    const BOOL made = CreateProcessW(program.c_str(), wideCommandLine.data(), nullptr, nullptr,
                                     TRUE, 0, nullptr, nullptr, &startup, &started);
    SetEnvironmentVariableA(kOnPrivateDesktop, nullptr);
    if (!made) return 255;
    CloseHandle(started.hThread);
    const UniqueKernelHandle process(started.hProcess);
    DWORD exitCode = 254;
    if (WaitForSingleObject(process.Get(), kBoundMs * 3) != WAIT_OBJECT_0) {
      TerminateProcess(process.Get(), exitCode);
      return exitCode;
    }
    GetExitCodeProcess(process.Get(), &exitCode);
    return exitCode;
  }

  // EnumWindows sees the windows of the calling thread's desktop only; false
  // when no thread could be put on this desktop.
  template <typename Work>
  [[nodiscard]] bool RunOnIt(Work work) {
    bool ran = false;
    std::thread thread([&] {
      ran = SetThreadDesktop(desktop_) != FALSE;
      if (ran) work();
    });
    thread.join();
    return ran;
  }

 private:
  HWINSTA previous_;
  HWINSTA station_ = nullptr;
  HDESK desktop_ = nullptr;
};

// One running copy of the fixture, the program file `program` (a copy of it, say), titled
// `title`; ended when the test is done with it, whatever happened. Its texts go through the
// wide calls: a title or a file name outside the system's code page arrives whole.
class Fixture {
 public:
  Fixture(const std::string& title, int copy,
          const std::string& program = BesideThisTest(kFixture)) {
    const std::string readyName = "DuskProcessFixtureReady-" +
                                  std::to_string(GetCurrentProcessId()) + "-" +
                                  std::to_string(copy);
    ready_.Reset(CreateEventW(nullptr, TRUE, FALSE, ToWide(readyName).c_str()));
    std::wstring commandLine = ToWide("\"" + program + "\" " + readyName + " " + title);
    std::wstring desktop = ToWide(PrivateDesktop::kName);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpDesktop = desktop.data();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(ToWide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &started)) {
      return;
    }
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
  }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;
  ~Fixture() {
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.Get(), 1);
    }
  }

  [[nodiscard]] bool WaitUntilShown() const {
    // The ready event, not the fixture's end, must come first.
    const HANDLE either[] = {ready_.Get(), process_.Get()};
    return process_ && WaitForMultipleObjects(2, either, FALSE, kBoundMs) == WAIT_OBJECT_0;
  }
  [[nodiscard]] HANDLE Process() const { return process_.Get(); }

 private:
  UniqueKernelHandle ready_;
  UniqueKernelHandle process_;
};

// The image as it shows on white.
std::array<COLORREF, 256> DrawOnWhite(HIMAGELIST list, int index) {
  std::array<COLORREF, 256> pixels{};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 16;
  info.bmiHeader.biHeight = -16;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const UniqueBitmap canvas(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (canvas) {
    const SelectedObject selected(dc, canvas.Get());
    auto* pixel = static_cast<DWORD*>(bits);
    std::fill(pixel, pixel + 256, 0x00FFFFFF);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    GdiFlush();
    for (int i = 0; i < 256; ++i) {
      // Blue, green, red in memory; a COLORREF the other way round.
      pixels[i] = RGB(pixel[i] >> 16 & 0xFF, pixel[i] >> 8 & 0xFF, pixel[i] & 0xFF);
    }
  }
  DeleteDC(dc);
  return pixels;
}

// Where the native picker differs from the picker's own entries; empty when it does not.
std::string NativeDifferences(const ComboBoxEx& picker) {
  const HWND native = reinterpret_cast<HWND>(picker.Handle());
  std::string differences;
  const auto count = static_cast<std::size_t>(SendMessageA(native, CB_GETCOUNT, 0, 0));
  if (count != picker.Items().size()) {
    differences += " count " + std::to_string(count);
  }
  for (std::size_t i = 0; i < std::min(count, picker.Items().size()); ++i) {
    wchar_t wide[300]{};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = static_cast<INT_PTR>(i);
    item.pszText = wide;
    item.cchTextMax = static_cast<int>(std::size(wide));
    SendMessageW(native, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    const std::string text = FromWide(wide);
    const ComboBoxEx::Item& wanted = picker.Items()[i];
    const int image = wanted.imageIndex >= 0 ? wanted.imageIndex : I_IMAGENONE;
    if (wanted.caption != text || item.iImage != image || item.iSelectedImage != image) {
      differences +=
          " entry " + std::to_string(i) + " \"" + text + "\" image " + std::to_string(item.iImage);
    }
  }
  if (SendMessageA(native, CB_GETCURSEL, 0, 0) != picker.ItemIndex()) differences += " selection";
  return differences;
}

struct ResourceModule {
  explicit ResourceModule(const std::string& path)
      : module(LoadLibraryExA(path.c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ResourceModule(const ResourceModule&) = delete;
  ResourceModule& operator=(const ResourceModule&) = delete;
  ~ResourceModule() {
    if (module) FreeLibrary(module);
  }
  HMODULE module;
};

}  // namespace

TEST(Win32Processes, ListsTwoCopiesOfAProgramWithTheirTitlesAndEndsThemByName) {
  PrivateDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  // Titles with Chinese, each holding a "|".
  const std::string titles[] = {"进程测试|甲", "进程测试|乙"};
  Fixture first(titles[0], 1);
  Fixture second(titles[1], 2);
  ASSERT_TRUE(first.WaitUntilShown());
  ASSERT_TRUE(second.WaitUntilShown());

  const ResourceModule dusk(BesideThisTest("Dusk.exe"));
  ImageList images;
  images.AttachMirror(std::make_unique<Win32ImageListMirror>(dusk.module));
  ComboBoxEx picker("bsSkinComboBoxEx1", nullptr, {20, 330, 265, 20}, "");
  picker.SetImages(&images);
  Win32Processes processes(GetModuleHandleA(nullptr));
  ASSERT_TRUE(desktop.RunOnIt([&] { GetProcess(processes, picker, images); }));

  std::set<std::string> fixtureCaptions;
  std::vector<int> fixtureImages;
  bool listsItself = false;
  for (const ComboBoxEx::Item& item : picker.Items()) {
    listsItself = listsItself || item.caption == "dusk_windows_tests.exe";
    if (!EndsWith(item.caption, std::string("|") + kFixture)) continue;
    fixtureCaptions.insert(item.caption);
    fixtureImages.push_back(item.imageIndex);
  }
  EXPECT_TRUE(listsItself);
  EXPECT_EQ(fixtureCaptions,
            (std::set<std::string>{titles[0] + "|" + kFixture, titles[1] + "|" + kFixture}));
  const auto* native = static_cast<Win32ImageListMirror*>(images.Mirror());
  EXPECT_EQ(ImageList_GetImageCount(native->Native()), images.Count());
  ASSERT_EQ(fixtureImages.size(), 2u);
  EXPECT_GT(fixtureImages[0], 0);
  EXPECT_GT(fixtureImages[1], 0);
  EXPECT_NE(fixtureImages[0], fixtureImages[1]);
  // The second copy's image is a faithful copy of the icon read for the first.
  EXPECT_EQ(DrawOnWhite(native->Native(), fixtureImages[0]),
            DrawOnWhite(native->Native(), fixtureImages[1]));
  EXPECT_NE(DrawOnWhite(native->Native(), fixtureImages[0]),
            DrawOnWhite(native->Native(), ImageList::kDefaultImage));

  KillProcessByName(processes, "Process_FIXTURE.exe");
  const HANDLE both[] = {first.Process(), second.Process()};
  ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, kBoundMs), WAIT_OBJECT_0);
  for (const HANDLE process : both) {
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeProcess(process, &exitCode));
    EXPECT_EQ(exitCode, 0u);
  }
}

// Hangul and an emoji (a surrogate pair in UTF-16) have no place in code page 936: only the
// wide calls carry such names from the system to the picker and back to the ending.
TEST(Win32Processes, ListsAndEndsAProgramWhoseNamesLieOutsideTheCodePage) {
  PrivateDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  const std::string image = "下载器테스트😀.exe";
  const std::string title = "标题 테스트 😀";
  const std::string program = BesideThisTest(image.c_str());
  ASSERT_TRUE(CopyFileW(ToWide(BesideThisTest(kFixture)).c_str(), ToWide(program).c_str(), FALSE));
  struct RemovedAtEnd {
    std::wstring path;
    ~RemovedAtEnd() { DeleteFileW(path.c_str()); }
  } const removed{ToWide(program)};
  Fixture fixture(title, 3, program);
  ASSERT_TRUE(fixture.WaitUntilShown());

  ImageList images;
  ComboBoxEx picker("bsSkinComboBoxEx1", nullptr, {20, 330, 265, 20}, "");
  picker.SetImages(&images);
  Win32Processes processes(GetModuleHandleA(nullptr));
  ASSERT_TRUE(desktop.RunOnIt([&] { GetProcess(processes, picker, images); }));
  int listed = 0;
  for (const ComboBoxEx::Item& item : picker.Items()) listed += item.caption == title + "|" + image;
  EXPECT_EQ(listed, 1);

  const KillResult killed = KillProcessByName(processes, "下载器테스트😀.EXE");
  EXPECT_EQ(killed.found, 1);
  EXPECT_EQ(killed.ended, 1);
  EXPECT_EQ(WaitForSingleObject(fixture.Process(), kBoundMs), WAIT_OBJECT_0);
}

TEST(Win32Processes, NamesTheProgramsAnExitWouldCloseThoseThatRefuseToEndToo) {
  PrivateDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  const std::string title = "不肯关闭的程序 – 未保存";
  Fixture fixture(title, 4);
  ASSERT_TRUE(fixture.WaitUntilShown());
  Win32Processes processes(GetModuleHandleA(nullptr));
  std::vector<std::string> names;
  bool asked = false;
  DWORD_PTR answer = TRUE;
  ASSERT_TRUE(desktop.RunOnIt([&] {
    names = OpenProgramNames(processes);
    const HWND refusing = FindWindowW(nullptr, ToWide(title).c_str());
    asked = refusing && SendMessageTimeoutW(refusing, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG,
                                            kBoundMs, &answer);
  }));
  // Named once, by its window that takes input (not the disabled one above it).
  EXPECT_EQ(std::count(names.begin(), names.end(), title), 1) << testing::PrintToString(names);
  // It would hold an exit up: without force, the exit would wait for it.
  EXPECT_TRUE(asked);
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(FALSE));
}

TEST(Win32Processes, WatchesAProcessByItsHandleUntilItEnds) {
  PrivateDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  Fixture fixture("等待结束", 3);
  ASSERT_TRUE(fixture.WaitUntilShown());
  Win32Processes processes(GetModuleHandleA(nullptr));
  const std::uint32_t id = GetProcessId(fixture.Process());
  const std::unique_ptr<Processes::WatchedProcess> watched = processes.OpenToWatch(id);
  ASSERT_NE(watched, nullptr);
  EXPECT_FALSE(watched->HasEnded());
  // The start time tells this process apart: the same through another handle, before now.
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  const std::uint64_t nowTime =
      static_cast<std::uint64_t>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
  const std::uint64_t started = watched->StartTime();
  EXPECT_GT(started, 0u);
  EXPECT_LE(started, nowTime);
  const std::unique_ptr<Processes::WatchedProcess> again = processes.OpenToWatch(id);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->StartTime(), started);

  // Asked together with this running program, more than one wait's worth of handles.
  std::vector<std::unique_ptr<Processes::WatchedProcess>> running;
  std::vector<Processes::WatchedProcess*> asked;
  for (int i = 0; i < MAXIMUM_WAIT_OBJECTS + 6; ++i) {
    running.push_back(processes.OpenToWatch(GetCurrentProcessId()));
    ASSERT_NE(running.back(), nullptr);
    asked.push_back(running.back().get());
  }
  asked.insert(asked.begin() + MAXIMUM_WAIT_OBJECTS + 2, watched.get());
  std::vector<bool> expected(asked.size(), false);
  EXPECT_EQ(processes.WhichEnded(asked), expected);

  ASSERT_TRUE(TerminateProcess(fixture.Process(), 1));
  ASSERT_EQ(WaitForSingleObject(fixture.Process(), kBoundMs), WAIT_OBJECT_0);
  EXPECT_TRUE(watched->HasEnded());
  EXPECT_TRUE(again->HasEnded());
  expected[MAXIMUM_WAIT_OBJECTS + 2] = true;
  EXPECT_EQ(processes.WhichEnded(asked), expected);
  EXPECT_EQ(processes.OpenToWatch(0xFFFFFFF0), nullptr);
}

// The picker's entry and the watch opened on adding agree on when the process
// started: that is what tells the process picked from a later one with its id.
TEST(Win32Processes, TheListingReadsTheStartTimeTheWatchReads) {
  PrivateDesktop desktop;
  ASSERT_TRUE(desktop.Ready());
  Fixture fixture("开始时间", 4);
  ASSERT_TRUE(fixture.WaitUntilShown());
  ImageList images;
  ComboBoxEx picker("bsSkinComboBoxEx1", nullptr, {20, 330, 265, 20}, "");
  picker.SetImages(&images);
  Win32Processes processes(GetModuleHandleA(nullptr));
  std::vector<ListedProcess> listed;
  ASSERT_TRUE(desktop.RunOnIt([&] { listed = GetProcess(processes, picker, images); }));

  const std::uint32_t id = GetProcessId(fixture.Process());
  const auto entry = std::find_if(listed.begin(), listed.end(),
                                  [&](const ListedProcess& p) { return p.processId == id; });
  ASSERT_NE(entry, listed.end());
  const std::unique_ptr<Processes::WatchedProcess> watched = processes.OpenToWatch(id);
  ASSERT_NE(watched, nullptr);
  EXPECT_NE(entry->startTime, 0u);
  EXPECT_EQ(entry->startTime, watched->StartTime());
  EXPECT_EQ(processes.StartTime(0xFFFFFFF0), 0u);
}

TEST(Win32Processes, ReadsItsOwnEntryPathAndIcons) {
  Win32Processes processes(GetModuleHandleA(nullptr));
  const std::uint32_t self = processes.CurrentProcessId();
  EXPECT_EQ(self, GetCurrentProcessId());
  bool found = false;
  for (const Processes::SnapshotEntry& entry : processes.Snapshot()) {
    if (entry.processId == self) found = entry.exeFile == "dusk_windows_tests.exe";
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(
      lstrcmpiA(processes.ExecutablePath(self).c_str(), Win32Files().ProgramFilePath().c_str()), 0);
  constexpr std::uint32_t kNoSuchProcess = 0xFFFFFFF0;
  EXPECT_EQ(processes.ExecutablePath(kNoSuchProcess), "");
  EXPECT_EQ(processes.OpenToEnd(kNoSuchProcess), nullptr);
  // The handle to end it with tells its image and that it is not critical.
  const std::unique_ptr<Processes::OpenedProcess> opened = processes.OpenToEnd(self);
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(lstrcmpiA(opened->ImagePath().c_str(), Win32Files().ProgramFilePath().c_str()), 0);
  EXPECT_EQ(opened->IsMarkedCritical(), std::optional<bool>(false));

  struct Case {
    const char* file;
    unsigned icons;
  };
  static const Case kCases[] = {
      {"Dusk.exe", 1}, {kFixture, 1}, {"plain_fixture.exe", 0}, {"no_such_file.exe", 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.file);
    const std::string path = BesideThisTest(c.file);
    EXPECT_EQ(processes.IconCount(path), c.icons);
    const IconHandle icon = processes.FirstIcon(path);
    EXPECT_EQ(icon != 0, c.icons > 0);
    processes.ReleaseIcon(icon);
  }
}

TEST(Win32ImageListMirror, DrawsTheDefaultPictureWithItsAlphaAndKeepsIt) {
  const ResourceModule dusk(BesideThisTest("Dusk.exe"));
  ASSERT_TRUE(dusk.module);
  Win32ImageListMirror mirror(dusk.module);
  ASSERT_EQ(ImageList_GetImageCount(mirror.Native()), 1);
  const std::array<COLORREF, 256> picture = DrawOnWhite(mirror.Native(), 0);
  struct Case {
    int x;
    int y;
    COLORREF color;
    const char* what;
  };
  static constexpr Case kCases[] = {
      {0, 0, RGB(255, 255, 255), "a transparent row"},
      {1, 1, RGB(64, 92, 136), "the opaque frame"},
      {0, 1, RGB(121, 140, 171), "a corner at 70 % over white, blended once"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    const COLORREF drawn = picture[c.y * 16 + c.x];
    EXPECT_NEAR(GetRValue(drawn), GetRValue(c.color), 2);
    EXPECT_NEAR(GetGValue(drawn), GetGValue(c.color), 2);
    EXPECT_NEAR(GetBValue(drawn), GetBValue(c.color), 2);
  }

  const HICON icon = LoadIconA(dusk.module, MAKEINTRESOURCEA(1));
  ASSERT_TRUE(icon);
  EXPECT_TRUE(mirror.AddIcon(reinterpret_cast<IconHandle>(icon)));
  EXPECT_TRUE(mirror.AddCopy(1));
  EXPECT_EQ(ImageList_GetImageCount(mirror.Native()), 3);
  mirror.Truncate(1);
  EXPECT_EQ(ImageList_GetImageCount(mirror.Native()), 1);
  EXPECT_EQ(DrawOnWhite(mirror.Native(), 0), picture);

  // Without the artwork there is still an image 0, or every index would be off by one.
  const Win32ImageListMirror bare(GetModuleHandleA(nullptr));
  EXPECT_EQ(ImageList_GetImageCount(bare.Native()), 1);
}

TEST(ComboBoxExMirror, FollowsTheEntriesWithTheirImages) {
  if (GetEnvironmentVariableA(kOnPrivateDesktop, nullptr, 0) == 0) {
    PrivateDesktop desktop;
    ASSERT_TRUE(desktop.Ready());
    EXPECT_EQ(PrivateDesktop::RunTestOnIt("ComboBoxExMirror.FollowsTheEntriesWithTheirImages"), 0u);
    return;
  }
  HandlerErrors errors;
  Win32MirrorFactory factory(GetModuleHandleA(nullptr), errors);
  ImageList images;
  Form form("Form1", {0, 0, 320, 240}, Form::Frame::Main);
  ComboBoxEx picker("bsSkinComboBoxEx1", &form, {20, 30, 265, 20}, "选择你要关闭的软件");
  picker.SetImages(&images);
  AttachMirrors(form, &factory);
  form.Show();  // the picker's window is made as it first shows
  ASSERT_NE(picker.Handle(), 0u);
  ASSERT_TRUE(images.Mirror());
  EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(picker.Handle()), CBEM_GETIMAGELIST, 0, 0),
            static_cast<LRESULT>(images.Mirror()->Handle()));

  const HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  const int added = images.AddIcon(reinterpret_cast<IconHandle>(icon));
  ASSERT_EQ(added, 1);
  picker.AddItem({"explorer.exe", 0});
  picker.AddItem({"QQ|消息|qq.exe", added});
  picker.AddItem({"tool.exe", -1});
  EXPECT_EQ(NativeDifferences(picker), "") << "appended";
  picker.SetItem(1, {"QQ 2|qq.exe", 0});
  EXPECT_EQ(NativeDifferences(picker), "") << "changed";
  picker.UserSelect(2);
  EXPECT_EQ(NativeDifferences(picker), "") << "selected";
  picker.ClearItems();
  EXPECT_EQ(NativeDifferences(picker), "") << "cleared";
  picker.AddItem({"notepad.exe", added});
  EXPECT_EQ(NativeDifferences(picker), "") << "appended again";
}
