// Holds the program's session claim for the single-instance test: takes it
// under the name given, says so, and when told gives it up and waits to be let
// go, or ends without giving it up.
//
// Usage: instance_fixture NAME give-up|end
// Events (Local\NAME.held, .go, .leave) are made by the test.
#include <windows.h>

#include <string>

#include "platform/session_instance_win.h"

namespace {

constexpr DWORD kBoundMs = 30000;

UniqueKernelHandle OpenNamedEvent(const std::wstring& name) {
  return UniqueKernelHandle(OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name.c_str()));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring name = argv[1];
  const std::wstring events = L"Local\\" + name;
  const bool giveUp = std::wstring(argv[2]) == L"give-up";
  const UniqueKernelHandle held = OpenNamedEvent(events + L".held");
  const UniqueKernelHandle go = OpenNamedEvent(events + L".go");
  const UniqueKernelHandle leave = OpenNamedEvent(events + L".leave");
  if (!held || !go || !leave) return 2;
  Win32SessionInstance instance(name);
  if (!instance.Claim(0)) return 3;
  SetEvent(held.Get());
  if (WaitForSingleObject(go.Get(), kBoundMs) != WAIT_OBJECT_0) return 4;
  if (!giveUp) return 0;  // the claim goes with the process
  instance.GiveUp();
  return WaitForSingleObject(leave.Get(), kBoundMs) == WAIT_OBJECT_0 ? 0 : 4;
}
