// The samples behind "下载完成后" and "无人操作时", against the real (Wine)
// system: adapter counters during a loopback download, and the last input
// after input is injected.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsock2.h>

#include <algorithm>
#include <string>
#include <thread>

#include "platform/machine_activity_win.h"
#include "platform/presence_sensor_win.h"

namespace {

constexpr std::size_t kDownloadBytes = 8 << 20;
constexpr DWORD kBoundMs = 10000;

std::uint64_t Octets(const ActivitySample& sample) {
  std::uint64_t octets = 0;
  for (const AdapterOctets& adapter : sample.adapters) octets += adapter.received + adapter.sent;
  return octets;
}

// Sends kDownloadBytes from a server thread to a client on 127.0.0.1; the
// bytes the client received.
std::size_t LoopbackDownload() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  std::size_t received = 0;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      listen(listener, 1) == 0 &&
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    std::thread server([listener] {
      const SOCKET connection = accept(listener, nullptr, nullptr);
      if (connection == INVALID_SOCKET) return;
      const std::string block(1 << 16, 'x');
      for (std::size_t sent = 0; sent < kDownloadBytes;) {
        const int n = send(connection, block.data(), static_cast<int>(block.size()), 0);
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
      }
      shutdown(connection, SD_SEND);
      closesocket(connection);
    });
    const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&kBoundMs),
               sizeof kBoundMs);
    if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
      char buffer[1 << 16];
      for (int n; (n = recv(client, buffer, sizeof buffer, 0)) > 0;) {
        received += static_cast<std::size_t>(n);
      }
    }
    closesocket(client);
    server.join();
  }
  closesocket(listener);
  WSACleanup();
  return received;
}

}  // namespace

TEST(Win32MachineActivity, TheCountersGrowWhileALoopbackDownloadRuns) {
  Win32MachineActivity withLoopback(true);
  const ActivitySample before = withLoopback.Sample();
  ASSERT_EQ(LoopbackDownload(), kDownloadBytes);
  const ActivitySample after = withLoopback.Sample();
  // Received by the client and sent by the server over the one loopback adapter.
  EXPECT_GE(Octets(after) - Octets(before), kDownloadBytes);
  EXPECT_GT(after.tickMs, before.tickMs - 1);
  ASSERT_TRUE(after.processors);
  EXPECT_GE(after.processors->kernel, after.processors->idle);
}

TEST(Win32MachineActivity, TheProgramsReaderLeavesLoopbackOut) {
  Win32MachineActivity program;
  Win32MachineActivity withLoopback(true);
  const ActivitySample physical = program.Sample();
  const ActivitySample all = withLoopback.Sample();
  EXPECT_LT(physical.adapters.size(), all.adapters.size());
  for (const AdapterOctets& adapter : physical.adapters) {
    SCOPED_TRACE(adapter.adapter);
    EXPECT_TRUE(std::any_of(all.adapters.begin(), all.adapters.end(),
                            [&](const AdapterOctets& a) { return a.adapter == adapter.adapter; }));
  }
}

TEST(Win32PresenceSensor, TheLastInputMovesWhenInputIsInjected) {
  Win32PresenceSensor presence;
  const PresenceSample before = presence.Sample();
  // The tick moves on, so the input carries another time than the last one.
  Sleep(50);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = 5;
  input.mi.dy = 5;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
  PresenceSample after = presence.Sample();
  for (const DWORD start = GetTickCount();
       after.lastInputTick == before.lastInputTick && GetTickCount() - start < kBoundMs;
       after = presence.Sample()) {
    Sleep(20);
  }
  EXPECT_NE(after.lastInputTick, before.lastInputTick);
  // Nothing takes the screen in this test's session.
  EXPECT_FALSE(after.screenBusy);
}
