#include "platform/session_instance_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/handler_errors_win.h"
#include "platform/process_user_win.h"
#include "platform/wide_text_win.h"
#include "startup/single_instance.h"
#include "tests/windows/beside_this_test.h"
#include "widgets/form.h"
#include "widgets/mirror_factory_win.h"

namespace {

constexpr DWORD kBoundMs = 20000;

// The claim under a name of this test's own, and instance_fixture.exe holding
// it in a process of its own.
class SessionClaimBetweenProcesses : public testing::Test {
 protected:
  SessionClaimBetweenProcesses()
      : name(L"DuskClaimTest." + std::to_wstring(GetCurrentProcessId()) + L"." +
             std::to_wstring(++runs)),
        held(Event(L".held")),
        go(Event(L".go")),
        leave(Event(L".leave")) {}
  ~SessionClaimBetweenProcesses() override {
    SetEvent(go.Get());
    SetEvent(leave.Get());
    if (fixture) WaitForSingleObject(fixture.Get(), kBoundMs);
  }

  [[nodiscard]] UniqueKernelHandle Event(const wchar_t* suffix) const {
    return UniqueKernelHandle(
        CreateEventW(nullptr, TRUE, FALSE, (L"Local\\" + name + suffix).c_str()));
  }

  // Starts the fixture; true once it holds the claim.
  bool StartHolder(const wchar_t* mode) {
    std::wstring commandLine = L"instance_fixture.exe " + name + L" " + mode;
    const std::wstring program = ToWide(BesideThisTest("instance_fixture.exe"));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
      return false;
    }
    CloseHandle(started.hThread);
    fixture.Reset(started.hProcess);
    const HANDLE either[] = {held.Get(), fixture.Get()};
    return WaitForMultipleObjects(2, either, FALSE, kBoundMs) == WAIT_OBJECT_0;
  }
  [[nodiscard]] DWORD FixtureExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(fixture.Get(), kBoundMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(fixture.Get(), &code);
    }
    return code;
  }
  [[nodiscard]] bool FixtureRunning() const {
    return WaitForSingleObject(fixture.Get(), 0) == WAIT_TIMEOUT;
  }

  static inline int runs = 0;
  const std::wstring name;
  UniqueKernelHandle held;
  UniqueKernelHandle go;
  UniqueKernelHandle leave;
  UniqueKernelHandle fixture;
};

}  // namespace

TEST_F(SessionClaimBetweenProcesses, ASecondCopyIsRefusedUntilTheFirstGivesItsClaimUp) {
  ASSERT_TRUE(StartHolder(L"give-up"));
  Win32SessionInstance second(name);
  EXPECT_FALSE(second.Claim(0));
  EXPECT_FALSE(second.Claim(200));  // the wait has its bound

  // The hand-over: the first gives the claim up while it still runs.
  SetEvent(go.Get());
  EXPECT_TRUE(second.Claim(kHandOverWaitMs));
  EXPECT_TRUE(FixtureRunning());
  SetEvent(leave.Get());
  EXPECT_EQ(FixtureExitCode(), 0u);
}

TEST_F(SessionClaimBetweenProcesses, ACopyThatEndsWithoutGivingItUpLeavesItToTheNext) {
  ASSERT_TRUE(StartHolder(L"end"));
  Win32SessionInstance next(name);
  EXPECT_FALSE(next.Claim(0));
  SetEvent(go.Get());
  EXPECT_TRUE(next.Claim(kHandOverWaitMs));
  EXPECT_EQ(FixtureExitCode(), 0u);
}

TEST_F(SessionClaimBetweenProcesses, WhileThisCopyHoldsItAnotherCannotTakeIt) {
  Win32SessionInstance first(name);
  ASSERT_TRUE(first.Claim(0));
  EXPECT_TRUE(first.Claim(0));  // held already: still held once
  EXPECT_FALSE(StartHolder(L"end"));
  EXPECT_EQ(FixtureExitCode(), 3u);

  first.GiveUp();
  EXPECT_TRUE(StartHolder(L"give-up"));
  EXPECT_FALSE(first.Claim(0));
}

// A name some other object took first: no copy runs, so this one must run,
// without the claim, rather than leave to nobody.
TEST_F(SessionClaimBetweenProcesses, ANameTakenByAnObjectOfAnotherKindIsNoRunningCopy) {
  const ClaimNamespace names;
  const UniqueKernelHandle squatter(
      CreateEventW(nullptr, TRUE, FALSE, names.ObjectName(name).c_str()));
  ASSERT_TRUE(squatter);
  Win32SessionInstance copy(name);
  EXPECT_TRUE(copy.Claim(0));
}

// Wine 8 makes no boundary descriptor; where the system makes one, the claim
// lies in the user's private namespace and not in the session's.
TEST(ClaimNamespace, IsTheUsersPrivateOneWhereTheSystemHasThem) {
  const UniqueBoundaryDescriptor probe(CreateBoundaryDescriptorW(L"DuskProbe", 0));
  const ClaimNamespace names;
  EXPECT_EQ(names.Private(), static_cast<bool>(probe));
  const std::wstring object = names.ObjectName(L"Dusk.Test");
  EXPECT_EQ(object.starts_with(L"Local\\"), !names.Private());
  // Every copy of this user's in this session finds it under the same name.
  EXPECT_EQ(ClaimNamespace().ObjectName(L"Dusk.Test"), object);
}

TEST(ProcessUser, AProcessOfThisUserIsTheSameUserAndNoProcessIsNobody) {
  const ProcessUser self;
  ASSERT_TRUE(self.Known());
  EXPECT_TRUE(ProcessUser(GetCurrentProcessId()).SameAs(self));
  // The system's idle process, which nobody may open.
  const ProcessUser nobody(0);
  EXPECT_FALSE(nobody.Known());
  EXPECT_FALSE(nobody.SameAs(self));
}

// The running copy's main window hears the request; the program's other
// windows, of the same class, let it pass.
TEST(Win32SessionInstance, TheMainWindowOfTheRunningCopyIsAskedToShow) {
  HandlerErrors errors;
  Win32MirrorFactory mirrors(GetModuleHandleW(nullptr), errors);
  Form main("Form1", {0, 0, 200, 100}, Form::Frame::Main);
  Form tool("UpForm", {0, 0, 200, 100}, Form::Frame::Tool);
  int mainAsked = 0;
  int toolAsked = 0;
  main.OnShowRequest = [&] { ++mainAsked; };
  tool.OnShowRequest = [&] { ++toolAsked; };
  AttachMirrors(main, &mirrors);
  AttachMirrors(tool, &mirrors);
  ASSERT_NE(main.Handle(), 0u);  // made hidden, as a program started in the tray has it

  Win32SessionInstance(L"DuskShowTest." + std::to_wstring(GetCurrentProcessId())).AskHolderToShow();
  const DWORD until = GetTickCount() + kBoundMs;
  MSG message;
  while (mainAsked == 0 && GetTickCount() < until) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  EXPECT_EQ(mainAsked, 1);
  EXPECT_EQ(toolAsked, 0);
  EXPECT_FALSE(errors.Take());
}
