#pragma once

// What every step of the probe needs to look at Dusk from outside: its windows found by their
// design names, their texts, bounded waits, and the PASS/FAIL lines the driving script reads.
// Texts are UTF-8, as inside the program: they are read through the wide calls and converted, so
// that they read back exactly whatever the system's code page.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace probe {

inline constexpr const char* kFormClass = "DuskForm";
inline constexpr DWORD kPollMs = 100;
inline constexpr UINT kSendTimeoutMs = 3000;

// The bound of every wait unless a step asks for another; --timeout=SECONDS sets it.
extern DWORD g_timeoutMs;
extern int g_failures;

std::string Utf8(const std::wstring& wide);
std::wstring Wide(const std::string& utf8);
// Quoted, so that trailing spaces and line breaks show in the log.
std::string Q(const std::string& text);
std::string Format(const char* fmt, ...) __attribute__((format(gnu_printf, 1, 2)));

void Check(bool ok, const std::string& check, const std::string& detail);
void Note(const std::string& text);
void Point(const char* what, POINT at);

// Polls until the condition holds or the bound passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = g_timeoutMs);

std::string ClassOf(HWND hwnd);
// Forms and controls carry their design name as a global atom in the "Name" property.
std::string NameOf(HWND hwnd);
std::string TextOf(HWND hwnd);
// IsWindowVisible is not to be trusted across desktops under Wine; the styles up the chain are.
bool Shown(HWND hwnd);
DWORD ProcessOf(HWND hwnd);
// Sent with a bound: a program stuck in a handler fails the check instead of hanging the probe.
// Wide: a text in or out is UTF-16.
std::optional<LRESULT> Ask(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                           UINT timeoutMs = kSendTimeoutMs);

std::vector<HWND> TopLevelWindows();
std::vector<HWND> ChildWindows(HWND parent);
std::vector<HWND> Forms(const char* name);
HWND MainWindow();
// The submenu the main window's process opened beside its tray menu, waited for; null when no
// second menu opened.
HWND OpenSubmenu();
HWND FindNamed(HWND root, const std::string& name);
// The item buttons of a radio group in item order: a radio group with columns fills them top to
// bottom, one column after the other.
std::vector<HWND> RadioItems(HWND group);

RECT BoundsInParent(HWND hwnd);
std::string Bounds(const RECT& r);
// A point of a window, in the desktop's coordinates, `dx` pixels from its left edge and
// vertically in its middle.
POINT LeftPart(HWND hwnd, int dx);

// What the program writes for a moment: the system's short date and long time formats, the time
// left out at exactly midnight.
std::string ClockText(const SYSTEMTIME& t);
SYSTEMTIME LocalNow();
SYSTEMTIME AddSeconds(const SYSTEMTIME& t, long long seconds);
// Seconds from a to b.
long long SecondsBetween(const SYSTEMTIME& a, const SYSTEMTIME& b);

bool ProcessRunning(DWORD pid);

// Every window of the desktop, for the artifacts of a failed run.
void DumpWindows();

// The desktop this process runs in.
std::string CurrentDesktop();
// Starts this program again in the named desktop with the same command line and waits for it.
int RunInDesktop(const std::string& desktop);

}  // namespace probe
