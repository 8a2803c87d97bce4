#pragma once

#include <windows.h>

#include <string_view>

// Bytes handed from one program's window to another's with WM_COPYDATA: the
// commands of dusk-cli to the running copy's main window, and its reply.
// The tags tell them from any other program's data; a later form of either
// gets a new tag, which a copy that does not know it leaves unanswered.
inline constexpr ULONG_PTR kCommandRequestTag = 0x31514B44;  // "DKQ1"
inline constexpr ULONG_PTR kCommandReplyTag = 0x31524B44;    // "DKR1"

// Whether the window belongs to a process of this process's user: a window of
// the program's class on a shared desktop may be anyone's.
[[nodiscard]] bool WindowOfThisUser(HWND window);

// Sends the bytes to the window, naming `from` as the sender's window; true
// when the window took them (its answer was TRUE) within the time.
[[nodiscard]] bool SendBytes(HWND to, HWND from, ULONG_PTR tag, std::string_view bytes,
                             unsigned timeoutMs);
