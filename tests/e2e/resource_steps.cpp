// What Dusk holds of the system over many round trips through its real controls: alarm tasks
// added with the add button and deleted through the task list's popup menu, and listings of the
// process picker. The program's objects are counted from outside at the start, after a warm-up
// round and at the end; from the warm-up to the end they must stay flat.
//
// Each round is two runs of the probe (the adds, then the deletes and the listings), so that a run
// stays well inside the driving script's bound and the script can take screenshots between them.
// The figures and the counters go through the state file.
//
// Under Wine some of the system's counters answer nothing: GetGuiResources fails with
// ERROR_CALL_NOT_IMPLEMENTED, GetProcessHandleCount reports 0 handles and PrivateUsage stays 0.
// Each measure then falls back to what Wine does keep and says so in the log: the live entries of
// the process's GDI handle table, the process's entries in the system's handle list, and the
// anonymous memory Wine reports as PagefileUsage. USER objects live in the wineserver there and
// cannot be counted from outside; the program's windows are counted in both places.

#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "panel_support.h"
#include "probe_steps.h"
#include "probe_support.h"

namespace probe {
namespace {

// The script runs kRounds rounds; the first is the warm-up.
constexpr int kRounds = 20;
constexpr int kTasksPerRound = 50;
constexpr int kListingsPerRound = 5;

// Round trips are many: a short poll keeps the run short, and each poll is one message.
constexpr DWORD kQuickPollMs = 5;
// A listing reads every process of the session, their windows and their icons.
constexpr UINT kListingTimeoutMs = 20000;

// bsSkinComboBox1
constexpr int kHours = 1;

// ---- counting what the program holds ----

struct Reading {
  long long value = -1;  // -1: not measurable here
  std::string source;
};

// Under Wine the process's own GDI handle table sits in its address space, at the PEB's
// GdiSharedHandleTable, one entry per handle; a live object's entry has a type.
struct GdiHandleEntry {
  UINT64 object;
  ULONG owner;
  USHORT unique;
  UCHAR type;
  UCHAR flags;
  UINT64 userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB
constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kGdiTableChunk = 0x1000;

std::optional<long long> GdiTableCount(HANDLE process) {
  PROCESS_BASIC_INFORMATION basic{};
  ULONG length = 0;
  if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length))
    return std::nullopt;
  UINT64 table = 0;
  SIZE_T read = 0;
  if (!ReadProcessMemory(process, (const char*)basic.PebBaseAddress + kPebGdiTableOffset, &table,
                         sizeof table, &read) ||
      !table)
    return std::nullopt;
  std::vector<GdiHandleEntry> chunk(kGdiTableChunk);
  long long live = 0;
  for (size_t first = 0; first < kGdiTableEntries; first += kGdiTableChunk) {
    const char* at = (const char*)(ULONG_PTR)table + first * sizeof(GdiHandleEntry);
    if (!ReadProcessMemory(process, at, chunk.data(), chunk.size() * sizeof(GdiHandleEntry),
                           &read)) {
      if (first == 0) return std::nullopt;
      break;
    }
    for (const GdiHandleEntry& e : chunk) live += e.type != 0;
  }
  return live;
}

Reading ReadGdi(HANDLE process, DWORD) {
  if (DWORD count = GetGuiResources(process, GR_GDIOBJECTS))
    return {count, "GetGuiResources(GR_GDIOBJECTS)"};
  DWORD error = GetLastError();
  if (std::optional<long long> live = GdiTableCount(process))
    return {*live,
            Format("live entries of its GDI handle table (GetGuiResources: 0, error %lu)", error)};
  return {-1, Format("GetGuiResources: 0, error %lu; no GDI handle table", error)};
}

Reading ReadUser(HANDLE process, DWORD) {
  if (DWORD count = GetGuiResources(process, GR_USEROBJECTS))
    return {count, "GetGuiResources(GR_USEROBJECTS)"};
  return {-1, Format("GetGuiResources: 0, error %lu; the program's windows are counted instead",
                     GetLastError())};
}

void CountWindows(HWND parent, DWORD pid, long long& count) {
  for (HWND c : ChildWindows(parent)) {
    if (ProcessOf(c) == pid) ++count;
    CountWindows(c, pid, count);
  }
}

Reading ReadWindows(HANDLE, DWORD pid) {
  long long count = 0;
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid) {
      ++count;
      CountWindows(h, pid, count);
    }
  return {count, "its windows and their children, enumerated"};
}

struct SystemHandleEntry {
  PVOID object;
  ULONG_PTR processId;
  ULONG_PTR handle;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG attributes;
  ULONG reserved;
};
struct SystemHandles {
  ULONG_PTR count;
  ULONG_PTR reserved;
  SystemHandleEntry handles[1];
};
constexpr auto kSystemExtendedHandleInformation = (SYSTEM_INFORMATION_CLASS)64;
constexpr NTSTATUS kInfoLengthMismatch = (NTSTATUS)0xC0000004L;

std::optional<long long> SystemHandleCount(DWORD pid) {
  std::vector<char> buffer(1 << 20);
  for (int tries = 0; tries < 8; ++tries) {
    ULONG needed = 0;
    NTSTATUS status = NtQuerySystemInformation(kSystemExtendedHandleInformation, buffer.data(),
                                               (ULONG)buffer.size(), &needed);
    if (status == kInfoLengthMismatch) {
      buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status) return std::nullopt;
    const auto* list = reinterpret_cast<const SystemHandles*>(buffer.data());
    long long count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i) count += list->handles[i].processId == pid;
    return count;
  }
  return std::nullopt;
}

Reading ReadHandles(HANDLE process, DWORD pid) {
  DWORD count = 0;
  if (GetProcessHandleCount(process, &count) && count) return {count, "GetProcessHandleCount"};
  if (std::optional<long long> listed = SystemHandleCount(pid))
    return {*listed, "its entries in the system's handle list (GetProcessHandleCount: 0)"};
  return {-1, "GetProcessHandleCount: 0; no system handle list"};
}

Reading ReadPrivate(HANDLE process, DWORD) {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!K32GetProcessMemoryInfo(process, (PROCESS_MEMORY_COUNTERS*)&memory, sizeof memory))
    return {-1, Format("K32GetProcessMemoryInfo failed, error %lu", GetLastError())};
  if (memory.PrivateUsage) return {(long long)memory.PrivateUsage, "PrivateUsage"};
  return {(long long)memory.PagefileUsage, "PagefileUsage, its anonymous memory (PrivateUsage: 0)"};
}

struct Measure {
  const char* key;
  const char* what;
  // Growth allowed from the warm-up to the end. The measured rounds add and delete 950 tasks and
  // list the processes 95 times: an object kept by any one operation grows a count by 95 or
  // more. Between rounds a count comes back to its idle value, give or take what lives for a
  // moment (a cached device context, the brush of a paint, the menu's window while it closes).
  long long tolerance;
  bool counted;  // an object count, expected to settle exactly between rounds
  Reading (*read)(HANDLE process, DWORD pid);
};

// Memory comes back to the same figure between rounds too, but the heap may keep a page or two
// more after a round with a larger peak. 1 MiB is less than a kilobyte kept per add (a task with
// its strings and its row) or ten kilobytes per listing (its snapshot, titles and paths).
constexpr long long kPrivateBytesTolerance = 1 << 20;

const Measure kMeasures[] = {
    {"gdi", "GDI objects", 16, true, ReadGdi},
    {"user", "USER objects", 16, true, ReadUser},
    {"windows", "windows", 2, true, ReadWindows},
    {"handles", "kernel handles", 16, true, ReadHandles},
    {"private", "private bytes", kPrivateBytesTolerance, false, ReadPrivate},
};
constexpr size_t kMeasureCount = std::size(kMeasures);

struct Figures {
  Reading readings[kMeasureCount];
};

Figures ReadFigures(HANDLE process, DWORD pid) {
  Figures f;
  for (size_t i = 0; i < kMeasureCount; ++i) f.readings[i] = kMeasures[i].read(process, pid);
  return f;
}

bool SameCounts(const Figures& a, const Figures& b) {
  for (size_t i = 0; i < kMeasureCount; ++i)
    if (kMeasures[i].counted && a.readings[i].value != b.readings[i].value) return false;
  return true;
}

// Read once the program is idle: the last messages of a round may still be painting. Two
// readings a poll apart that agree, or the last one when the counts keep moving.
std::optional<Figures> SettledFigures(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    Check(false, "process opened",
          Format("OpenProcess(%lu) failed, error %lu", pid, GetLastError()));
    return std::nullopt;
  }
  Figures last = ReadFigures(process, pid), now;
  bool settled = WaitFor(
      [&] {
        now = ReadFigures(process, pid);
        bool same = SameCounts(last, now);
        last = now;
        return same;
      },
      5000);
  CloseHandle(process);
  if (!settled) Note("the counts kept moving for 5 s; taking the last reading");
  return last;
}

void PrintFigures(const char* when, const Figures& f) {
  std::string line = Format("FIGURES %s", when);
  for (size_t i = 0; i < kMeasureCount; ++i)
    line += Format(" %s=%lld", kMeasures[i].key, f.readings[i].value);
  printf("%s\n", line.c_str());
  fflush(stdout);
}

void SaveFigures(State& state, const char* when, const Figures& f) {
  for (size_t i = 0; i < kMeasureCount; ++i)
    state.Set(Format("%s.%s", when, kMeasures[i].key), std::to_string(f.readings[i].value));
}

long long SavedFigure(const State& state, const char* when, const Measure& m) {
  std::string value = state.Get(Format("%s.%s", when, m.key));
  return value.empty() ? -1 : atoll(value.c_str());
}

// ---- quiet round trips: a failure is a FAIL line, a success counts towards a round's line ----

bool Expect(bool ok, const std::string& check, const std::string& detail) {
  if (!ok) Check(false, check, detail);
  return ok;
}

bool WaitQuick(const std::function<bool()>& condition, DWORD timeoutMs = g_timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kQuickPollMs);
  }
}

long RowCount(HWND list) { return (long)Ask(list, LB_GETCOUNT, 0, 0).value_or(-1); }

// A row's text, as the list hands it over: UTF-16, whatever the call's variant.
std::wstring RowText(HWND list, long index) {
  std::optional<LRESULT> length = Ask(list, LB_GETTEXTLEN, index, 0);
  if (!length || *length < 0) return L"";
  std::wstring text(*length + 256, L'\0');
  std::optional<LRESULT> copied = Ask(list, LB_GETTEXT, index, (LPARAM)text.data());
  if (!copied || *copied < 0 || *copied >= (LRESULT)text.size()) return L"";
  text.resize(*copied);
  return text;
}

// The row whose text begins with `prefix`, or -1.
long FindRow(HWND list, const std::wstring& prefix) {
  return (long)Ask(list, LB_FINDSTRING, (WPARAM)-1, (LPARAM)prefix.c_str()).value_or(LB_ERR);
}

// A click on a radio item whose handler opens no box: sent, so that it returns once the handler
// has run (for the close-program kind, once the picker is filled).
bool ClickKind(const Panel& p, int kind, UINT timeoutMs = kSendTimeoutMs) {
  std::vector<HWND> items = RadioItems(p.radio2);
  if (kind >= (int)items.size())
    return Expect(false, "kind", Format("RadioGroup2 has %zu items", items.size()));
  bool answered = Ask(items[kind], BM_CLICK, 0, 0, timeoutMs).has_value();
  return Expect(answered && CheckedItem(p.radio2) == kind, Format("kind %d clicked", kind),
                Format("RadioGroup2 item %d checked after the click%s", CheckedItem(p.radio2),
                       answered ? "" : ", which got no answer"));
}

std::string Reminder(int round, int task) { return Format("提醒 %d-%d", round, task); }
std::wstring RowPrefix(const std::string& reminder) { return Wide("闹钟：" + reminder + "\r\n"); }

bool AddAlarm(const Panel& p, const std::string& reminder) {
  if (!ClickKind(p, kAlarm)) return false;
  TypeInto(p.info, reminder);
  long before = RowCount(p.list);
  PostMessageA(p.add, BM_CLICK, 0, 0);
  long count = before;
  // After an add the program clears the kind: the handler has run to its end.
  bool added = WaitQuick(
      [&] { return (count = RowCount(p.list)) == before + 1 && CheckedItem(p.radio2) == -1; });
  if (!Expect(added, "row added",
              Format("%ld rows before the press for %s, %ld after", before, Q(reminder).c_str(),
                     count)))
    return false;
  long row = FindRow(p.list, RowPrefix(reminder));
  return Expect(row >= 0, "row of the new task", "no row begins with " + Q("闹钟：" + reminder));
}

HWND PopupMenuOf(DWORD pid) {
  for (HWND h : TopLevelWindows())
    if (ProcessOf(h) == pid && ClassOf(h) == "#32768" && Shown(h)) return h;
  return nullptr;
}

// Selects a row as a user's click does, then opens the list's popup menu as a user's right click
// on that row does and chooses its one entry with the keys a user would press.
bool DeleteRow(const Panel& p, long index) {
  long before = RowCount(p.list);
  std::wstring text = RowText(p.list, index);
  if (!Expect(!text.empty(), "row read", Format("row %ld of %ld unreadable", index, before)))
    return false;

  Ask(p.list, LB_SETCURSEL, index);  // scrolls it into view
  PostMessageA(GetParent(p.list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p.list), LBN_SELCHANGE),
               (LPARAM)p.list);
  long top = (long)Ask(p.list, LB_GETTOPINDEX).value_or(0);
  long height = (long)Ask(p.list, LB_GETITEMHEIGHT, 0).value_or(0);
  LPARAM at = MAKELPARAM(40, (index - top) * height + height / 2);
  PostMessageA(p.list, WM_RBUTTONDOWN, MK_RBUTTON, at);
  PostMessageA(p.list, WM_RBUTTONUP, 0, at);

  DWORD pid = ProcessOf(p.main);
  HWND menu = nullptr;
  if (!Expect(WaitQuick([&] { return (menu = PopupMenuOf(pid)) != nullptr; }), "popup menu shown",
              Format("no shown #32768 window of process %lu after a right click on row %ld", pid,
                     index)))
    return false;
  // The menu's own loop takes the keys of its thread: the first entry, then Enter.
  PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYUP, VK_DOWN, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(menu, WM_KEYUP, VK_RETURN, 0);
  long count = before;
  bool removed =
      WaitQuick([&] { return !PopupMenuOf(pid) && (count = RowCount(p.list)) == before - 1; });
  if (!Expect(removed, "row deleted",
              Format("%ld rows before choosing the menu entry for row %ld, %ld after; menu %s",
                     before, index, count, PopupMenuOf(pid) ? "still shown" : "closed")))
    return false;
  return Expect(FindRow(p.list, text) < 0, "the chosen row deleted",
                Q(Utf8(text)) + " is still listed");
}

// The helper's entry shows that the listing ran; the click returned, so it ran to its end.
bool ListProcesses(const Panel& p) {
  if (!ClickKind(p, kAlarm) || !ClickKind(p, kCloseProgram, kListingTimeoutMs)) return false;
  std::optional<std::vector<std::string>> items = PickerItems(p.picker);
  const std::string entry = kUsualTarget.Entry();
  bool listed = items && std::find(items->begin(), items->end(), entry) != items->end();
  return Expect(listed, "helper program listed",
                Format("%s not among %zu entries", Q(entry).c_str(), items ? items->size() : 0));
}

int Counter(const State& state, const char* key) { return atoi(state.Get(key).c_str()); }

void Count(State& state, const char* key, int more) {
  state.Set(key, std::to_string(Counter(state, key) + more));
}

// ---- the steps ----

// Countdown alarms an hour ahead: deleted long before they come due. A helper program runs under
// a known title for the listings to show.
void StepResourcesStart(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  DWORD pid = ProcessOf(p->main);
  std::optional<Figures> start = SettledFigures(pid);
  if (!start) return;
  for (size_t i = 0; i < kMeasureCount; ++i)
    Note(Format("%s measured by %s", kMeasures[i].what, start->readings[i].source.c_str()));
  PrintFigures("start", *start);
  SaveFigures(state, "start", *start);

  if (!ClickRadio(p->radio1, kCountdown, "countdown mode")) return;
  Ask(p->unit, CB_SETCURSEL, kHours);
  PostMessageA(GetParent(p->unit), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(p->unit), CBN_SELCHANGE),
               (LPARAM)p->unit);
  CheckText(p->spin, "1", "an hour ahead");
  CheckRows(*p, state);
  DWORD target = StartTarget(kUsualTarget);
  if (!target) return;
  state.Set("target-pid", std::to_string(target));
  Check(WaitFor([&] { return TargetWindow(target, kUsualTarget) != nullptr; }),
        "helper program window",
        Format("%s shown by process %lu", Q(kUsualTarget.title).c_str(), target));
}

void StepResourcesAdd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  int round = Counter(state, "round") + 1;
  state.Set("round", std::to_string(round));
  DWORD started = GetTickCount();
  int added = 0;
  while (added < kTasksPerRound && AddAlarm(*p, Reminder(round, added))) ++added;
  Count(state, "adds", added);
  DWORD took = GetTickCount() - started;
  if (added < kTasksPerRound) return;
  long rows = RowCount(p->list);
  int found = 0;
  for (int i = 0; i < kTasksPerRound; ++i)
    found += FindRow(p->list, RowPrefix(Reminder(round, i))) >= 0;
  Check(rows == kTasksPerRound && found == kTasksPerRound,
        Format("round %d: %d tasks added", round, kTasksPerRound),
        Format("%ld rows, %d of them this round's alarms; %lu ms, %lu ms a task", rows, found, took,
               took / kTasksPerRound));
}

// Rows deleted from the top, the bottom and the middle in turn, then the listings; the figures
// are read with the list empty and the picker filled, as after every round.
void StepResourcesDelete(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  if (!p) return;
  State state(statePath);
  int round = Counter(state, "round");
  DWORD started = GetTickCount();
  int deleted = 0;
  for (long rows; deleted < kTasksPerRound && (rows = RowCount(p->list)) > 0; ++deleted) {
    long index = deleted % 3 == 0 ? 0 : deleted % 3 == 1 ? rows - 1 : rows / 2;
    if (!DeleteRow(*p, index)) break;
  }
  Count(state, "deletes", deleted);
  DWORD deleting = GetTickCount() - started;
  Check(deleted == kTasksPerRound && RowCount(p->list) == 0,
        Format("round %d: %d tasks deleted", round, kTasksPerRound),
        Format("%d deleted through the popup menu, %ld rows left; %lu ms, %lu ms a task", deleted,
               RowCount(p->list), deleting, deleting / std::max(deleted, 1)));

  started = GetTickCount();
  int listings = 0;
  while (listings < kListingsPerRound && ListProcesses(*p)) ++listings;
  Count(state, "listings", listings);
  DWORD listing = GetTickCount() - started;
  Check(listings == kListingsPerRound,
        Format("round %d: %d process listings", round, kListingsPerRound),
        Format("%d listings with the helper program in the picker; %lu ms, %lu ms a listing",
               listings, listing, listing / std::max(listings, 1)));

  std::optional<Figures> now = SettledFigures(ProcessOf(p->main));
  if (!now) return;
  PrintFigures(Format("round-%d", round).c_str(), *now);
  if (round == 1) SaveFigures(state, "warm", *now);
}

void StepResourcesEnd(const std::string& statePath) {
  std::optional<Panel> p = FindPanel();
  State state(statePath);
  if (DWORD target = strtoul(state.Get("target-pid").c_str(), nullptr, 10))
    EndTarget(target, kUsualTarget);
  if (!p) return;
  int adds = Counter(state, "adds"), deletes = Counter(state, "deletes"),
      listings = Counter(state, "listings");
  Check(adds == kRounds * kTasksPerRound && deletes == adds &&
            listings == kRounds * kListingsPerRound,
        "round trips done",
        Format("%d adds, %d deletes and %d listings in %d rounds; expected %d, %d and %d", adds,
               deletes, listings, Counter(state, "round"), kRounds * kTasksPerRound,
               kRounds * kTasksPerRound, kRounds * kListingsPerRound));
  std::optional<Figures> end = SettledFigures(ProcessOf(p->main));
  if (!end) return;
  PrintFigures("end", *end);
  for (size_t i = 0; i < kMeasureCount; ++i) {
    const Measure& m = kMeasures[i];
    long long start = SavedFigure(state, "start", m), warm = SavedFigure(state, "warm", m),
              last = end->readings[i].value;
    std::string figures =
        Format("start %lld, after the warm-up %lld, end %lld (%+lld; allowed %+lld)", start, warm,
               last, last - warm, m.tolerance);
    if (last < 0 || warm < 0) {
      Note(Format("%s not measurable here: %s", m.what, end->readings[i].source.c_str()));
      continue;
    }
    Check(last - warm <= m.tolerance, Format("%s flat", m.what),
          figures + "; by " + end->readings[i].source);
  }
}

}  // namespace

const std::vector<Step>& ResourceSteps() {
  static const std::vector<Step> steps = {
      {"resources-start", "STATE", StepResourcesStart},
      {"resources-add", "STATE", StepResourcesAdd},
      {"resources-delete", "STATE", StepResourcesDelete},
      {"resources-end", "STATE", StepResourcesEnd},
  };
  return steps;
}

}  // namespace probe
