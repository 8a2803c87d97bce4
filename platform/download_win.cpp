#include "platform/download_win.h"

#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>

#include "platform/download_address.h"
#include "platform/wide_text_win.h"
#include "platform/window_binding_win.h"

namespace {

constexpr wchar_t kWindowClass[] = L"DuskDownload";
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
  wchar_t text[32]{};
  DWORD size = sizeof text;  // in bytes
  if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return 0;
  return std::wcstoull(text, nullptr, 10);
}

DWORD StatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  // Not HTTP at all reads as 0, which is no answer we take.
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return 0;
  }
  return status;
}

bool IsRedirect(DWORD status) {
  return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT ||
         status == HTTP_STATUS_REDIRECT_METHOD || status == HTTP_STATUS_REDIRECT_KEEP_VERB ||
         status == HTTP_STATUS_PERMANENT_REDIRECT;
}

// Where a redirect answer points, made whole against the address that gave it.
std::string RedirectLocation(HINTERNET request, const std::string& from) {
  wchar_t location[INTERNET_MAX_URL_LENGTH]{};
  DWORD size = sizeof location;  // in bytes
  if (!HttpQueryInfoW(request, HTTP_QUERY_LOCATION, location, &size, nullptr)) return {};
  wchar_t combined[INTERNET_MAX_URL_LENGTH]{};
  DWORD combinedLength = INTERNET_MAX_URL_LENGTH;  // in characters
  if (!InternetCombineUrlW(ToWide(from).c_str(), location, combined, &combinedLength,
                           ICU_NO_ENCODE)) {
    return {};
  }
  return FromWide(std::wstring_view(combined, combinedLength));
}

// The resource's answer, following at most kMaxRedirects redirects to web
// addresses; none when the fetch stops before a plain success. Never signs
// in anywhere: the address, or a redirect, could name a server that asks for
// the user's Windows credentials.
UniqueInternetHandle OpenResource(HINTERNET session, std::string url) {
  for (int redirects = 0; IsWebAddress(url); ++redirects) {
    // Always from the server: a stale copy of the version page would hide an update.
    UniqueInternetHandle request(InternetOpenUrlW(
        session, ToWide(url).c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
            INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH |
            INTERNET_FLAG_NO_AUTO_REDIRECT,
        0));
    if (!request) return {};
    const DWORD status = StatusCode(request.Get());
    if (status == HTTP_STATUS_OK) return request;
    // Anything else (an error page, a request to sign in) is not what was asked for.
    if (!IsRedirect(status) || redirects == kMaxRedirects) return {};
    std::string next = RedirectLocation(request.Get(), url);
    if (!MayRedirect(url, next)) return {};
    url = std::move(next);
  }
  return {};
}

bool WriteAll(HANDLE file, const char* bytes, DWORD count) {
  DWORD written = 0;
  return WriteFile(file, bytes, count, &written, nullptr) && written == count;
}

// Why the reading of a body stopped.
enum class ReadEnd {
  kWhole,       // the connection ended at the announced length, or none was named
  kPrefixKept,  // the bytes wanted are stored, the rest never read
  kCutShort,    // the connection ended before the announced length
  kTooLarge,    // more bytes than allowed came
  kReadFailed,
  kWriteFailed,
};

bool Stored(ReadEnd end) { return end == ReadEnd::kWhole || end == ReadEnd::kPrefixKept; }

ReadEnd ReadBody(HINTERNET request, HANDLE output, std::uint64_t total, FetchLimits limits,
                 ProgressSink progress, void* context) {
  std::uint64_t received = 0;
  static constexpr DWORD kChunkBytes = 64 * 1024;
  const auto buffer = std::make_unique<char[]>(kChunkBytes);
  for (;;) {
    if (limits.overflow == Overflow::kKeepPrefix && received == limits.maxBytes) {
      return ReadEnd::kPrefixKept;
    }
    // Waits for what has come so far, not for a whole buffer: the progress
    // moves with a slow line, and a head that is all we keep is not held up
    // by a body that never ends.
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0)) return ReadEnd::kReadFailed;
    std::uint64_t wanted = std::min(available, kChunkBytes);
    if (limits.overflow == Overflow::kKeepPrefix) {
      wanted = std::min(wanted, limits.maxBytes - received);
    }
    DWORD read = 0;
    if (wanted > 0 && !InternetReadFile(request, buffer.get(), static_cast<DWORD>(wanted), &read)) {
      return ReadEnd::kReadFailed;
    }
    if (read == 0) return total == 0 || received == total ? ReadEnd::kWhole : ReadEnd::kCutShort;
    if (received + read > limits.maxBytes) return ReadEnd::kTooLarge;
    if (!WriteAll(output, buffer.get(), read)) return ReadEnd::kWriteFailed;
    received += read;
    if (progress) progress(context, received, total);
  }
}

// Stores the body of a plain GET answer in the file. A failure leaves no file.
bool Fetch(const std::string& url, const std::string& file, FetchLimits limits,
           ProgressSink progress, void* context) {
  if (!IsWebAddress(url)) return false;
  const UniqueInternetHandle session(
      InternetOpenW(L"Dusk", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  DWORD timeout = kTimeoutMs;
  for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT,
                             INTERNET_OPTION_SEND_TIMEOUT}) {
    (void)InternetSetOptionW(session.Get(), option, &timeout, sizeof timeout);
  }
  const UniqueInternetHandle request = OpenResource(session.Get(), url);
  if (!request) return false;
  const std::uint64_t total = ContentLength(request.Get());
  if (total > limits.maxBytes && limits.overflow == Overflow::kFail) return false;

  const HANDLE opened = CreateFileW(ToWide(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return false;
  UniqueKernelHandle output(opened);
  if (progress) progress(context, 0, total);
  const ReadEnd end = ReadBody(request.Get(), output.Get(), total, limits, progress, context);
  output.Reset();
  if (!Stored(end)) (void)DeleteFileW(ToWide(file).c_str());
  return Stored(end);
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
  PostMessageW(static_cast<HWND>(context), kProgressMessage, Narrow(received),
               static_cast<LPARAM>(Narrow(total)));
}

// The top of the download's thread: whatever goes wrong inside, the
// download fails like any other, leaving no file, and the window hears the end.
void RunBackgroundDownload(const BackgroundDownload& job) noexcept {
  bool succeeded = false;
  try {
    succeeded = Fetch(job.url, job.file, {job.maxBytes, Overflow::kFail}, PostProgress, job.window);
  } catch (...) {
    (void)DeleteFileW(ToWide(job.file).c_str());
  }
  PostMessageW(job.window, kFinishedMessage, succeeded ? 1 : 0, 0);
}

}  // namespace

Win32Download::Win32Download(HINSTANCE instance, Threads& threads, HandlerErrors& errors)
    : instance_(instance), threads_(threads), errors_(errors) {}

void Win32Download::CreateReportWindow() {
  if (window_) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  window_.Reset(
      CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this));
}

bool Win32Download::ToFile(const std::string& url, const std::string& file,
                           std::uint64_t keepBytes) {
  return Fetch(url, file, {keepBytes, Overflow::kKeepPrefix}, nullptr, nullptr);
}

void Win32Download::StartToFile(const std::string& url, const std::string& file,
                                std::uint64_t maxBytes, Listener& listener) {
  listener_ = &listener;
  CreateReportWindow();
  // The thread owns copies only: the program may end while it runs.
  BackgroundDownload job{url, file, maxBytes, window_.Get()};
  if (!threads_.StartDetached([job = std::move(job)] { RunBackgroundDownload(job); })) {
    PostMessageW(window_.Get(), kFinishedMessage, 0, 0);
  }
}

LRESULT CALLBACK Win32Download::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* self = BoundObject<Win32Download>(window, message, lParam);
  if (message == WM_NCDESTROY) Unbind(window);
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
  return DefWindowProcW(window, message, wParam, lParam);
}
