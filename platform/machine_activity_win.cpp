#include "platform/machine_activity_win.h"

#include <windows.h>

// The interface table needs the socket headers' address types first.
// clang-format off
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
// clang-format on

#include <memory>

namespace {

struct TableDeleter {
  void operator()(MIB_IF_TABLE2* table) const { FreeMibTable(table); }
};

std::uint64_t Units(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool Counts(const MIB_IF_ROW2& row, bool includeLoopback) {
  if (row.Type == IF_TYPE_SOFTWARE_LOOPBACK) return includeLoopback;
  return row.InterfaceAndOperStatusFlags.HardwareInterface &&
         !row.InterfaceAndOperStatusFlags.FilterInterface && row.Type != IF_TYPE_TUNNEL;
}

}  // namespace

ActivitySample Win32MachineActivity::Sample() {
  ActivitySample sample;
  sample.tickMs = GetTickCount64();
  MIB_IF_TABLE2* raw = nullptr;
  if (GetIfTable2(&raw) == NO_ERROR) {
    const std::unique_ptr<MIB_IF_TABLE2, TableDeleter> table(raw);
    for (ULONG i = 0; i < table->NumEntries; ++i) {
      const MIB_IF_ROW2& row = table->Table[i];
      if (!Counts(row, includeLoopback_)) continue;
      sample.adapters.push_back({row.InterfaceLuid.Value, row.InOctets, row.OutOctets});
    }
  }
  FILETIME idle, kernel, user;
  if (GetSystemTimes(&idle, &kernel, &user)) {
    sample.processors = ProcessorTimes{Units(idle), Units(kernel), Units(user)};
  }
  return sample;
}
