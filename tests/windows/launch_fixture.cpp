// Tells the test it was started: it sets the event the test waits on, then ends.
#include <windows.h>

int main() {
  const HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, "DuskLaunchFixtureStarted");
  if (!started) return 1;
  SetEvent(started);
  CloseHandle(started);
  return 0;
}
