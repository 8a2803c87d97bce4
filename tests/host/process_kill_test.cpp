#include <gtest/gtest.h>

#include "process/kill_by_name.h"
#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_processes.h"

namespace {

using Ids = std::vector<std::uint32_t>;

}  // namespace

TEST(KillProcessByName, MatchesTheFileNameOrTheWholeTextWithoutAsciiCase) {
  struct Case {
    const char* exeFile;
    const char* name;
    bool ended;
    const char* why;
  };
  static const Case kCases[] = {
      {"notepad.exe", "notepad.exe", true, "the same name"},
      {"NOTEPAD.EXE", "notepad.exe", true, "a lower-case name, an upper-case image"},
      {"NotePad.Exe", "nOTEPAD.EXE", true, "mixed case on both sides"},
      {"notepad.exe", "notepad", false, "no extension"},
      {"notepad.exe", "notepad.exe ", false, "a trailing space"},
      {"C:\\Windows\\notepad.exe", "NOTEPAD.EXE", true, "the file-name part of a full path"},
      {"C:\\Windows\\notepad.exe", "c:\\windows\\NOTEPAD.exe", true, "the whole full path"},
      {"notepad.exe", "C:\\Windows\\notepad.exe", false, "a directory needs a full path"},
      {"C:\\Windows\\notepad.exe", "Windows\\notepad.exe", false, "a tail is neither"},
      {"C:notepad.exe", "notepad.exe", true, "a drive's colon separates too"},
      // 乗 is 0x81 0x5C in GBK: no byte of it may count as a separator.
      {"乗.exe", "乗.exe", true, "a character that was 0x5C in its second byte"},
      {"乗.exe", ".exe", false, "no part of it is a separator"},
      {"D:\\游戏\\乗.exe", "乗.exe", true, "after a real separator"},
      {"下载器.EXE", "下载器.exe", true, "a Chinese name; the ASCII letters fold"},
      {"Ａ.exe", "ａ.exe", false, "full-width A and a: not ASCII letters"},
      {"notepad.exe", "", false, "an empty name"},
      {"", "", false, "an empty name and an empty image name"},
      {"C:\\dir\\", "", false, "an empty name and an empty file-name part"},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.why);
    FakeProcesses processes;
    processes.processes = {{2000, c.exeFile}};
    KillProcessByName(processes, c.name);
    EXPECT_EQ(processes.terminations, c.ended ? Ids{2000} : Ids{});
  }
}

TEST(KillProcessByName, EndsEveryMatchAndItselfLast) {
  FakeProcesses processes;
  processes.currentProcessId = 1000;
  processes.processes = {
      {1000, "Dusk.exe"},  // ourselves, early in the snapshot
      {2000, "dusk.exe"},  // refuses to end
      {3000, "C:\\Apps\\DUSK.EXE"}, {3100, "notepad.exe"}, {3200, "dusk.exe"},
  };
  processes.processes[1].refusesToEnd = true;
  KillProcessByName(processes, "dusk.exe");
  // The one that refused does not stop the walk.
  EXPECT_EQ(processes.terminations, (Ids{2000, 3000, 3200, 1000}));
}

TEST(KillProcessByName, NeverEndsACriticalProcess) {
  struct Case {
    std::uint32_t processId;
    const char* exeFile;
    bool markedCritical;
    const char* name;
    bool ended;
  };
  static const Case kCases[] = {
      {0, "[System Process]", false, "[System Process]", false},
      {4, "System", false, "SYSTEM", false},
      {8, "System", false, "System", false},  // by name where System has another id
      {300, "smss.exe", false, "SMSS.EXE", false},
      {340, "\\??\\C:\\Windows\\system32\\csrss.exe", false, "csrss.exe", false},
      {400, "wininit.exe", false, "wininit.exe", false},
      {410, "winlogon.exe", false, "winlogon.exe", false},
      {500, "services.exe", false, "Services.exe", false},
      {510, "C:\\Windows\\System32\\LSASS.EXE", false, "lsass.exe", false},
      {600, "guard.exe", true, "guard.exe", false},  // marked critical by the system
      {700, "mysmss.exe", false, "mysmss.exe", true},
      {710, "services.exe.old", false, "services.exe.old", true},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.exeFile);
    FakeProcesses processes;
    processes.processes = {{c.processId, c.exeFile}};
    processes.processes[0].markedCritical = c.markedCritical;
    KillProcessByName(processes, c.name);
    EXPECT_EQ(processes.terminations, c.ended ? Ids{c.processId} : Ids{});
  }
}

TEST(KillProcessByName, EndsOnlyWhatTheHandleItEndsWithConfirms) {
  using Process = FakeProcesses::Process;
  struct Case {
    const char* why;
    void (*setUp)(Process&);
    bool ended;
  };
  static const Case kCases[] = {
      {"the same program", [](Process&) {}, true},
      {"its full path, in another case",
       [](Process& p) { p.imageWhenOpened = "C:\\WINDOWS\\NOTEPAD.EXE"; }, true},
      {"the id passed to another program",
       [](Process& p) { p.imageWhenOpened = "C:\\Apps\\other.exe"; }, false},
      {"the id passed to a critical program",
       [](Process& p) { p.imageWhenOpened = "C:\\Windows\\System32\\lsass.exe"; }, false},
      {"a folder of the same name", [](Process& p) { p.imageWhenOpened = "C:\\notepad.exe\\"; },
       false},
      {"its image cannot be read", [](Process& p) { p.imageUnreadable = true; }, false},
      {"it cannot be opened to be ended", [](Process& p) { p.cannotBeOpened = true; }, false},
      {"the system cannot tell whether it is critical",
       [](Process& p) { p.criticalUnknown = true; }, false},
      {"the system marks it critical", [](Process& p) { p.markedCritical = true; }, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.why);
    FakeProcesses processes;
    processes.processes = {{2000, "notepad.exe"}};
    // The snapshot still says notepad.exe; the handle opened after it may not.
    c.setUp(processes.processes[0]);
    KillProcessByName(processes, "notepad.exe");
    EXPECT_EQ(processes.opensToEnd, Ids{2000});
    EXPECT_EQ(processes.terminations, c.ended ? Ids{2000} : Ids{});
  }
}
