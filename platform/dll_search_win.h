#pragma once

#include <windows.h>

// DLLs loaded after this (the delay-loaded ones on their first call, and every
// LoadLibrary) come from the system folder only: a DLL planted beside the
// program or in the current folder is never loaded. Called first thing, before
// anything loads a DLL. The call is looked up: a Windows 7 without its 2011
// loader update lacks it and keeps the old search.
inline void LimitDllSearchToSystemFolder() {
  constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD flags);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (!kernel) return;
  const auto setDefaultDirectories = reinterpret_cast<SetDefaultDirectories>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefaultDirectories) (void)setDefaultDirectories(kSearchSystem32);
}
