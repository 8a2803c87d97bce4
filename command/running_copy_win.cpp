#include "command/running_copy_win.h"

#include <windows.h>

#include "command/request_wire.h"
#include "platform/copy_data_win.h"
#include "platform/unique_handle_win.h"
#include "startup/start_arguments.h"

namespace {

constexpr wchar_t kReplyWindowClass[] = L"DuskCommandReply";
// Between two looks for the window of a copy that is starting.
constexpr unsigned kPollMs = 100;

struct ReplyBox {
  HWND askedWindow = nullptr;
  std::optional<CommandReply> reply;
};

LRESULT CALLBACK ReplyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
  auto* box = reinterpret_cast<ReplyBox*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  // Only the window asked answers.
  if (!box || data.dwData != kCommandReplyTag ||
      reinterpret_cast<HWND>(wParam) != box->askedWindow) {
    return FALSE;
  }
  box->reply = DecodeReply(
      data.cbData ? std::string_view(static_cast<const char*>(data.lpData), data.cbData) : "");
  return box->reply.has_value();
}

// A message-only window that takes the reply, gone with this object.
class ReplyWindow {
 public:
  ReplyWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ReplyWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kReplyWindowClass;
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, kReplyWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&box_));
    // Run as administrator, a script still hears the copy that runs as the user: the system
    // lets a reply through from a process of lower integrity only when told to.
    ChangeWindowMessageFilterEx(window_, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
  }
  ReplyWindow(const ReplyWindow&) = delete;
  ReplyWindow& operator=(const ReplyWindow&) = delete;
  ~ReplyWindow() {
    if (window_) DestroyWindow(window_);
  }

  // The reply of the first of the user's main windows that answers.
  std::optional<CommandReply> Ask(const std::string& request, unsigned timeoutMs) {
    if (!window_) return std::nullopt;
    // Every top-level window of the program's class: only a main window answers.
    for (HWND target = FindWindowExW(nullptr, nullptr, L"DuskForm", nullptr); target;
         target = FindWindowExW(nullptr, target, L"DuskForm", nullptr)) {
      if (!WindowOfThisUser(target)) continue;
      box_ = {target, std::nullopt};
      if (SendBytes(target, window_, kCommandRequestTag, request, timeoutMs) && box_.reply) {
        return box_.reply;
      }
    }
    return std::nullopt;
  }

 private:
  ReplyBox box_;
  HWND window_ = nullptr;
};

}  // namespace

std::optional<CommandReply> AskRunningCopy(const std::vector<std::string>& words,
                                           unsigned timeoutMs) {
  ReplyWindow replyWindow;
  return replyWindow.Ask(EncodeRequest(words), timeoutMs);
}

std::optional<CommandReply> StartAndAsk(const std::wstring& program,
                                        const std::vector<std::string>& words, unsigned waitMs) {
  std::wstring commandLine = L"\"" + program + L"\" " +
                             std::wstring(kTrayArgument, kTrayArgument + sizeof kTrayArgument - 1);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return std::nullopt;
  }
  const UniqueKernelHandle process(started.hProcess);
  const UniqueKernelHandle thread(started.hThread);
  ReplyWindow replyWindow;
  const std::string request = EncodeRequest(words);
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  while (GetTickCount64() < deadline) {
    if (auto reply = replyWindow.Ask(request, waitMs)) return reply;
    // Ended without a window: another copy holds the claim where this one
    // cannot see its window.
    if (WaitForSingleObject(process.Get(), kPollMs) == WAIT_OBJECT_0) {
      return replyWindow.Ask(request, waitMs);
    }
  }
  return std::nullopt;
}
