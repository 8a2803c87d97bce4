#include "platform/download_win.h"

#include <windows.h>

#include <urlmon.h>

#include <memory>
#include <string>

namespace {

constexpr char kWindowClass[] = "DuskDownload";
constexpr UINT kProgressMessage = WM_APP + 2;
constexpr UINT kFinishedMessage = WM_APP + 3;

// Passes the service's progress on to the window; never asks to stop.
class ProgressPoster : public IBindStatusCallback {
 public:
  ProgressPoster(HWND window, std::uint64_t maxBytes) : window_(window), maxBytes_(maxBytes) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (id == IID_IUnknown || id == IID_IBindStatusCallback) {
      *object = static_cast<IBindStatusCallback*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  // Lives on the worker's stack for the whole download: counting is not needed.
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG total, ULONG, LPCWSTR) override {
    // Larger than any program of ours: a hostile or broken answer.
    if (progress > maxBytes_ || total > maxBytes_) return E_ABORT;
    PostMessageA(window_, kProgressMessage, progress, static_cast<LPARAM>(total));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

 private:
  HWND window_;
  std::uint64_t maxBytes_;
};

struct BackgroundDownload {
  std::string url;
  std::string file;
  std::uint64_t maxBytes;
  HWND window;
};

bool Fetch(const std::string& url, const std::string& file, IBindStatusCallback* callback) {
  const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  const HRESULT result = URLDownloadToFileA(nullptr, url.c_str(), file.c_str(), 0, callback);
  if (SUCCEEDED(com)) CoUninitialize();
  return result == S_OK;
}

DWORD WINAPI RunBackgroundDownload(void* parameter) {
  // Owns copies only: the program may end while this runs.
  const std::unique_ptr<BackgroundDownload> job(static_cast<BackgroundDownload*>(parameter));
  ProgressPoster poster(job->window, job->maxBytes);
  const bool succeeded = Fetch(job->url, job->file, &poster);
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

bool Win32Download::ToFile(const std::string& url, const std::string& file) {
  return Fetch(url, file, nullptr);
}

void Win32Download::StartToFile(const std::string& url, const std::string& file,
                                std::uint64_t maxBytes, Listener& listener) {
  listener_ = &listener;
  auto job = std::make_unique<BackgroundDownload>(
      BackgroundDownload{url, file, maxBytes, window_.Get()});
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
