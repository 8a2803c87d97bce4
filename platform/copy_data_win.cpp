#include "platform/copy_data_win.h"

#include "platform/process_user_win.h"

bool WindowOfThisUser(HWND window) {
  DWORD process = 0;
  if (!GetWindowThreadProcessId(window, &process)) return false;
  return ProcessUser(process).SameAs(ProcessUser());
}

bool SendBytes(HWND to, HWND from, ULONG_PTR tag, std::string_view bytes, unsigned timeoutMs) {
  COPYDATASTRUCT data{};
  data.dwData = tag;
  data.cbData = static_cast<DWORD>(bytes.size());
  data.lpData = const_cast<char*>(bytes.data());
  DWORD_PTR answer = FALSE;
  // Not SMTO_BLOCK: while it waits, this thread takes the reply the other
  // window sends back from inside its handler.
  return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                             reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, timeoutMs,
                             &answer) != 0 &&
         answer == TRUE;
}
