#include "platform/presence_sensor_win.h"

#include <windows.h>

#include <powrprof.h>
#include <shellapi.h>

namespace {

bool ScreenTaken() {
  QUERY_USER_NOTIFICATION_STATE state;
  if (FAILED(SHQueryUserNotificationState(&state))) return false;
  return state == QUNS_BUSY || state == QUNS_RUNNING_D3D_FULL_SCREEN ||
         state == QUNS_PRESENTATION_MODE;
}

bool DisplayKeptOn() {
  // What every program's requests add up to; a player asks for the display.
  EXECUTION_STATE state = 0;
  return CallNtPowerInformation(SystemExecutionState, nullptr, 0, &state, sizeof state) == 0 &&
         (state & ES_DISPLAY_REQUIRED) != 0;
}

}  // namespace

PresenceSample Win32PresenceSensor::Sample() {
  PresenceSample sample;
  sample.tickMs = GetTickCount64();
  LASTINPUTINFO input{};
  input.cbSize = sizeof input;
  if (GetLastInputInfo(&input)) sample.lastInputTick = input.dwTime;
  sample.screenBusy = ScreenTaken();
  sample.displayRequired = DisplayKeptOn();
  return sample;
}
