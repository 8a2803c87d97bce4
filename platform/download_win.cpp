#include "platform/download_win.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

namespace {

constexpr char kWindowClass[] = "DuskDownload";
constexpr UINT kProgressMessage = WM_APP + 2;
constexpr UINT kFinishedMessage = WM_APP + 3;
// A server that stops answering frees the thread in time; a slow one that
// keeps sending is waited for.
constexpr DWORD kTimeoutMs = 60'000;

struct InternetHandleDeleter {
  void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using UniqueInternetHandle = UniqueHandle<HINTERNET, InternetHandleDeleter>;

// How one fetch ends when the answer holds more bytes than wanted.
enum class Overflow { kFail, kKeepPrefix };

struct FetchLimits {
  std::uint64_t maxBytes;
  Overflow overflow;
};

// Called with the bytes stored so far and the announced total (0 when the
// server names none).
using ProgressSink = void (*)(void* context, std::uint64_t received, std::uint64_t total);

// The announced length, when the server names one.
std::uint64_t ContentLength(HINTERNET request) {
  char text[32]{};
  DWORD size = sizeof text;
  if (!HttpQueryInfoA(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return 0;
  return std::strtoull(text, nullptr, 10);
}

bool AnsweredOk(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  // Anything but the resource itself (an error page, a redirect that could
  // not be followed) is not what was asked for. Not HTTP at all fails here too.
  return HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr) &&
         status == HTTP_STATUS_OK;
}

bool WriteAll(HANDLE file, const char* bytes, DWORD count) {
  DWORD written = 0;
  return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// Stores the body of a plain GET answer in the file. A failure leaves no file.
bool Fetch(const std::string& url, const std::string& file, FetchLimits limits,
           ProgressSink progress, void* context) {
  const UniqueInternetHandle session(
      InternetOpenA("Dusk", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  DWORD timeout = kTimeoutMs;
  for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                             INTERNET_OPTION_SEND_TIMEOUT}) {
    (void)InternetSetOptionA(session.Get(), option, &timeout, sizeof timeout);
  }
  // Always from the server: a stale copy of the version page would hide an update.
  const UniqueInternetHandle request(InternetOpenUrlA(
      session.Get(), url.c_str(), nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
          INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI,
      0));
  if (!request || !AnsweredOk(request.Get())) return false;
  const std::uint64_t total = ContentLength(request.Get());
  if (total > limits.maxBytes && limits.overflow == Overflow::kFail) return false;

  const HANDLE opened = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  UniqueKernelHandle output(opened);
  if (progress) progress(context, 0, total);

  bool stored = true;
  std::uint64_t received = 0;
  static constexpr DWORD kChunkBytes = 64 * 1024;
  const auto buffer = std::make_unique<char[]>(kChunkBytes);
  for (;;) {
    if (limits.overflow == Overflow::kKeepPrefix && received == limits.maxBytes) break;
    // Waits for what has come so far, not for a whole buffer: the progress
    // moves with a slow line, and a head that is all we keep is not held up
    // by a body that never ends.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0)) {
      stored = false;
      break;
    }
    std::uint64_t wanted = std::min(available, kChunkBytes);
    if (limits.overflow == Overflow::kKeepPrefix) {
      wanted = std::min(wanted, limits.maxBytes - received);
    }
    DWORD read = 0;
    if (wanted > 0 &&
        !InternetReadFile(request.Get(), buffer.get(), static_cast<DWORD>(wanted), &read)) {
      stored = false;
      break;
    }
    if (read == 0) {
      // A connection closed before the announced end is a cut-short download.
      stored = total == 0 || received == total;
      break;
    }
    if (received + read > limits.maxBytes) {
      stored = false;
      break;
    }
    if (!WriteAll(output.Get(), buffer.get(), read)) {
      stored = false;
      break;
    }
    received += read;
    if (progress) progress(context, received, total);
  }
  output.Reset();
  if (!stored) (void)DeleteFileA(file.c_str());
  return stored;
}

struct BackgroundDownload {
  std::string url;
  std::string file;
  std::uint64_t maxBytes;
  HWND window;
};

// The listener's numbers are 32-bit; the bound on a program download keeps
// real ones far below that, and anything larger has failed already.
std::uint32_t Narrow(std::uint64_t bytes) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, UINT32_MAX));
}

void PostProgress(void* context, std::uint64_t received, std::uint64_t total) {
  PostMessageA(static_cast<HWND>(context), kProgressMessage, Narrow(received),
               static_cast<LPARAM>(Narrow(total)));
}

DWORD WINAPI RunBackgroundDownload(void* parameter) {
  // Owns copies only: the program may end while this runs.
  const std::unique_ptr<BackgroundDownload> job(static_cast<BackgroundDownload*>(parameter));
  const bool succeeded =
      Fetch(job->url, job->file, {job->maxBytes, Overflow::kFail}, PostProgress, job->window);
  PostMessageA(job->window, kFinishedMessage, succeeded ? 1 : 0, 0);
  return 0;
}

}  // namespace

Win32Download::Win32Download(HINSTANCE instance, HandlerErrors& errors) : errors_(errors) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  window_.Reset(
      CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this));
}

bool Win32Download::ToFile(const std::string& url, const std::string& file,
                           std::uint64_t keepBytes) {
  return Fetch(url, file, {keepBytes, Overflow::kKeepPrefix}, nullptr, nullptr);
}

void Win32Download::StartToFile(const std::string& url, const std::string& file,
                                std::uint64_t maxBytes, Listener& listener) {
  listener_ = &listener;
  auto job =
      std::make_unique<BackgroundDownload>(BackgroundDownload{url, file, maxBytes, window_.Get()});
  const HANDLE thread = CreateThread(nullptr, 0, RunBackgroundDownload, job.get(), 0, nullptr);
  if (!thread) {
    PostMessageA(window_.Get(), kFinishedMessage, 0, 0);
    return;
  }
  job.release();  // the thread owns it now
  CloseHandle(thread);
}

LRESULT CALLBACK Win32Download::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<Win32Download*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self && self->listener_ && (message == kProgressMessage || message == kFinishedMessage)) {
    try {
      if (message == kProgressMessage) {
        self->listener_->DownloadProgress(static_cast<std::uint32_t>(wParam),
                                          static_cast<std::uint32_t>(lParam));
      } else {
        Listener* listener = std::exchange(self->listener_, nullptr);
        listener->DownloadFinished(wParam != 0);
      }
    } catch (...) {
      self->errors_.Keep(std::current_exception());
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
