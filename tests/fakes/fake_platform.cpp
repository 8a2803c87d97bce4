#include "tests/fakes/fake_platform.h"

#include <cstdio>

#include "tests/fakes/release_records.h"

std::string FakeClock::FormatShortDate(const CalendarTime& time) const {
  char text[32];
  std::snprintf(text, sizeof text, "%d/%d/%d", time.year, time.month, time.day);
  return text;
}

std::string FakeClock::FormatLongTime(const CalendarTime& time) const {
  char text[32];
  std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

void FakePlatform::ForgetCalls() {
  ReleaseRecords(files.deleted);
  ReleaseRecords(files.copies);
  ReleaseRecords(versionResource.askedFor);
  ReleaseRecords(notificationArea.added);
  ReleaseRecords(notificationArea.balloons);
  notificationArea.balloonHides = 0;
  ReleaseRecords(shell.launches);
  ReleaseRecords(windowSystem.fileDialogs);
  ReleaseRecords(windowSystem.boxes);
  ReleaseRecords(windowSystem.menus);
  ReleaseRecords(power.calls);
  ReleaseRecords(sound.calls);
  processes.ForgetCalls();
  ReleaseRecords(download.requests);
  ReleaseRecords(powerRequests.calls);
  ReleaseRecords(powerRequests.armedFor);
  ReleaseRecords(profileFiles.calls);
  ReleaseRecords(sessionInstance.calls);
  ReleaseRecords(runAtLogon.calls);
}

DateTime At(int hour, int minute, int second, int day, int month, int year) {
  return EncodeDateTime({year, month, day, hour, minute, second, 0});
}
