#include "startup/elevation.h"

#include <gtest/gtest.h>

#include <optional>

TEST(Elevation, OnlyTheAdministratorsHalfOfASplitTokenStepsDownToTheDesktopsUser) {
  using enum UacToken;
  using enum ElevationDecision;
  struct Case {
    const char* name;
    ElevationFacts facts;
    ElevationDecision decision;
  };
  const Case kCases[] = {
      {"UAC off or one token", {Default, Limited, false}, Run},
      {"the desktop's own rights", {Limited, Limited, false}, Run},
      {"no answer", {std::nullopt, Limited, false}, Run},
      {"as administrator", {Full, Limited, false}, RestartAsShellUser},
      {"as another user's administrator, from a standard desktop",
       {Full, Default, false},
       RestartAsShellUser},
      {"the desktop runs elevated too", {Full, Full, false}, Refuse},
      {"no desktop shell", {Full, std::nullopt, false}, Refuse},
      {"one token for every process", {Full, std::nullopt, true}, Run},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecideElevation(c.facts), c.decision);
  }
}
