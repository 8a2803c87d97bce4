#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/handler_errors_win.h"
#include "widgets/form.h"
#include "widgets/mirror_factory_win.h"

// The system sends a wake and a clock change and waits for the answer: the
// form hears of them only once the sender has it, from its own message loop.
TEST(Win32FormMirror, HearsOfAWakeAndAClockChangeAfterTheSenderHasItsAnswer) {
  HandlerErrors errors;
  Win32MirrorFactory mirrors(GetModuleHandleA(nullptr), errors);
  Form form("Form1", {0, 0, 200, 100}, Form::Frame::Main);
  std::vector<std::string> heard;
  form.OnResume = [&] { heard.emplace_back("resume"); };
  form.OnTimeChange = [&] { heard.emplace_back("time"); };
  AttachMirrors(form, &mirrors);
  form.Show();  // a window is made as it first shows
  const auto window = reinterpret_cast<HWND>(form.Handle());
  ASSERT_NE(window, nullptr);

  EXPECT_EQ(SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
  SendMessageA(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  SendMessageA(window, WM_TIMECHANGE, 0, 0);
  EXPECT_TRUE(heard.empty());

  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  EXPECT_EQ(heard, (std::vector<std::string>{"resume", "time"}));
  EXPECT_FALSE(errors.Take());
}
