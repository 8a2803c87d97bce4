#include "platform/copy_data_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "command/request_wire.h"
#include "command/running_copy_win.h"
#include "platform/handler_errors_win.h"
#include "widgets/form.h"
#include "widgets/mirror_factory_win.h"

namespace {

// Asks on a thread of its own, as dusk-cli asks from its process, while this
// thread's loop serves the forms.
std::optional<CommandReply> AskWhileServing(const std::vector<std::string>& words) {
  std::optional<CommandReply> reply;
  std::atomic<bool> done = false;
  std::thread asker([&] {
    reply = AskRunningCopy(words, 5000);
    done.store(true, std::memory_order_release);
  });
  const ULONGLONG deadline = GetTickCount64() + 10000;
  MSG message;
  while (!done.load(std::memory_order_acquire) && GetTickCount64() < deadline) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  asker.join();
  return reply;
}

}  // namespace

// The words reach the main window whole, Chinese and all, and its answer comes
// back to the asker; a window of the program that is not the main one takes no
// request.
TEST(Win32CommandChannel, TheMainWindowAnswersAndNoOtherWindowDoes) {
  HandlerErrors errors;
  Win32MirrorFactory mirrors(GetModuleHandleA(nullptr), errors);
  Form main("Form1", {0, 0, 200, 100}, Form::Frame::Main);
  Form tip("TipForm", {0, 0, 200, 100}, Form::Frame::Tool);
  int tipRequests = 0;
  main.OnRequest = [](const std::string& bytes) {
    std::string joined;
    for (const std::string& word : DecodeRequest(bytes).value_or(std::vector<std::string>{})) {
      joined += word + "|";
    }
    return EncodeReply({ExitCode::Refused, joined, "光阴似箭，设置的时间已经过去了。\n"});
  };
  tip.OnRequest = [&](const std::string&) {
    ++tipRequests;
    return EncodeReply({});
  };
  AttachMirrors(main, &mirrors);
  AttachMirrors(tip, &mirrors);
  main.Show();
  tip.Show();
  ASSERT_NE(main.Handle(), 0u);
  EXPECT_TRUE(WindowOfThisUser(reinterpret_cast<HWND>(main.Handle())));
  EXPECT_FALSE(WindowOfThisUser(nullptr));

  const auto reply = AskWhileServing({"add", "alarm", "in", "1m", "--text", "测试 空格"});
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ(reply->code, ExitCode::Refused);
  EXPECT_EQ(reply->out, "add|alarm|in|1m|--text|测试 空格|");
  EXPECT_EQ(reply->err, "光阴似箭，设置的时间已经过去了。\n");
  EXPECT_EQ(tipRequests, 0);

  // Bytes of another kind are no request.
  EXPECT_FALSE(
      SendBytes(reinterpret_cast<HWND>(main.Handle()), nullptr, kCommandReplyTag, "x", 1000));
  // A main window without a handler answers nothing: the asker hears of no copy.
  main.OnRequest = nullptr;
  EXPECT_FALSE(AskWhileServing({"list"}).has_value());
  EXPECT_FALSE(errors.Take());
}
