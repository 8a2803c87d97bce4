#include "field_fit.h"

#include <commctrl.h>

#include <optional>

#include "probe_support.h"

namespace probe {
namespace {

// The control writes its size through a pointer into its own process: the probe lends it a few
// bytes of that process's memory and reads them back.
std::optional<SIZE> IdealSize(HWND control) {
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, ProcessOf(control));
  if (!process) return std::nullopt;
  std::optional<SIZE> size;
  if (void* remote = VirtualAllocEx(process, nullptr, sizeof(SIZE), MEM_COMMIT | MEM_RESERVE,
                                    PAGE_READWRITE)) {
    SIZE read{};
    if (Ask(control, DTM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(remote)).value_or(0) &&
        ReadProcessMemory(process, remote, &read, sizeof read, nullptr)) {
      size = read;
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return size;
}

void CheckFits(HWND main, const char* name) {
  HWND control = FindNamed(main, name);
  if (!control) {
    Check(false, name, "no control with this name");
    return;
  }
  const std::optional<SIZE> needed = IdealSize(control);
  RECT client{};
  GetClientRect(control, &client);
  const std::string check = std::string(name) + " fits its text";
  if (!needed) {
    Check(false, check, "the control did not tell the width it needs");
    return;
  }
  Check(needed->cx <= client.right, check,
        Format("%s needs %ld pixels, its client area is %ld wide", Q(TextOf(control)).c_str(),
               needed->cx, client.right));
}

}  // namespace

void CheckDateAndTimeFit(HWND main) {
  CheckFits(main, "bsSkinDateEdit1");
  CheckFits(main, "bsSkinTimeEdit1");
}

}  // namespace probe
