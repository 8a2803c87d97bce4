#include "tests/fakes/fake_platform.h"

#include <cstdio>

namespace {

// Empty and without its memory: assigning {} or clear() keeps the capacity.
template <class Container>
void Release(Container& records) {
  Container().swap(records);
}

}  // namespace

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
  Release(files.deleted);
  Release(files.copies);
  Release(versionResource.askedFor);
  Release(notificationArea.added);
  Release(notificationArea.balloons);
  notificationArea.balloonHides = 0;
  Release(shell.launches);
  Release(windowSystem.fileDialogs);
  Release(windowSystem.boxes);
  Release(windowSystem.menus);
  Release(power.calls);
  Release(sound.calls);
  processes.ForgetCalls();
  Release(download.requests);
}

DateTime At(int hour, int minute, int second, int day, int month, int year) {
  return EncodeDateTime({year, month, day, hour, minute, second, 0});
}
