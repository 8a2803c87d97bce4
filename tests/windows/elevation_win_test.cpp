#include "platform/elevation_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "startup/elevation.h"

namespace {

UniqueKernelHandle OwnToken() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  return UniqueKernelHandle(token);
}

}  // namespace

// The query against what the token says of itself in other words: elevated or
// not, and the other half of a split token.
TEST(Elevation, TheTokensTypeAgreesWithItsElevationAndItsLinkedHalf) {
  const UniqueKernelHandle token = OwnToken();
  ASSERT_TRUE(token);
  const std::optional<UacToken> type = QueryTokenElevation(token.Get());
  ASSERT_TRUE(type);
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  ASSERT_TRUE(
      GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size));
  if (type == UacToken::Default) return;
  EXPECT_EQ(elevation.TokenIsElevated != 0, type == UacToken::Full);
  TOKEN_LINKED_TOKEN linked{};
  ASSERT_TRUE(GetTokenInformation(token.Get(), TokenLinkedToken, &linked, sizeof linked, &size));
  const UniqueKernelHandle linkedToken(linked.LinkedToken);
  EXPECT_EQ(QueryTokenElevation(linkedToken.Get()),
            type == UacToken::Full ? UacToken::Limited : UacToken::Full);
}

TEST(Elevation, TheDecisionOnThisProcessesTokenAndOnAnAdministratorsToken) {
  const ElevationFacts facts = CurrentElevationFacts();
  const UniqueKernelHandle token = OwnToken();
  EXPECT_EQ(facts.program, QueryTokenElevation(token.Get()));
  if (facts.oneTokenForAll) {
    // Wine: every process holds the full token, and the program runs all the same.
    EXPECT_EQ(facts.program, UacToken::Full);
    EXPECT_EQ(DecideElevation(facts), ElevationDecision::Run);
  }
  ElevationFacts limited = facts;
  limited.program = UacToken::Limited;
  EXPECT_EQ(DecideElevation(limited), ElevationDecision::Run);
  ElevationFacts full = facts;
  full.program = UacToken::Full;
  full.oneTokenForAll = false;
  const bool shellIsTheUsers = facts.shell == UacToken::Limited || facts.shell == UacToken::Default;
  EXPECT_EQ(DecideElevation(full),
            shellIsTheUsers ? ElevationDecision::RestartAsShellUser : ElevationDecision::Refuse);
}

// Under Wine no window is the shell's: nothing is started, and the caller says why.
TEST(Elevation, WithoutADesktopShellNothingIsStartedAgain) {
  if (GetShellWindow()) GTEST_SKIP() << "a desktop shell runs";
  EXPECT_FALSE(OpenShellToken());
  EXPECT_FALSE(StartAgainAsShellUser(L"Dusk.exe /tray"));
}
