#pragma once

#include <windows.h>

#include "platform/download.h"
#include "platform/handler_errors_win.h"
#include "platform/threads.h"
#include "platform/unique_handle_win.h"

// Downloads with the system's internet service, from web addresses only and
// without ever signing in. A background download runs on a thread of its own
// and reports to a hidden window of its own, so its news reaches the main
// thread in order. The window is made with the first background download:
// the update check starts after the main window shows.
class Win32Download : public Download {
 public:
  Win32Download(HINSTANCE instance, Threads& threads, HandlerErrors& errors);
  bool ToFile(const std::string& url, const std::string& file, std::uint64_t keepBytes) override;
  void StartToFile(const std::string& url, const std::string& file, std::uint64_t maxBytes,
                   Listener& listener) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateReportWindow();

  HINSTANCE instance_;
  Threads& threads_;
  HandlerErrors& errors_;
  Listener* listener_ = nullptr;
  UniqueWindow window_;
};
