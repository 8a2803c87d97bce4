#include "upgrade/hand_over_moment.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_platform.h"

TEST(MayHandOverNow, WaitsForWhatIsOnTheScreenAndForATaskAboutToComeDue) {
  const DateTime now = At(9, 0, 0);
  const auto ahead = [now](int seconds) -> std::optional<DateTime> {
    return now + seconds / kSecondsPerDay;
  };
  struct Case {
    const char* what;
    HandOverScene scene;
    bool mayHandOver;
  };
  const Case kCases[] = {
      {"empty queue", {false, false, std::nullopt}, true},
      {"task due in 2:01", {false, false, ahead(121)}, true},
      {"task due in a day", {false, false, ahead(86400)}, true},
      {"task due in 2:00", {false, false, ahead(120)}, false},
      {"task due in 1:59", {false, false, ahead(119)}, false},
      {"task due now", {false, false, ahead(0)}, false},
      {"task overdue, not yet performed", {false, false, ahead(-5)}, false},
      {"alarm shown, empty queue", {true, false, std::nullopt}, false},
      {"alarm shown, task due in 2:01", {true, false, ahead(121)}, false},
      {"warning open, empty queue", {false, true, std::nullopt}, false},
      {"warning open, task due in 2:01", {false, true, ahead(121)}, false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MayHandOverNow(c.scene, now), c.mayHandOver);
  }
}
