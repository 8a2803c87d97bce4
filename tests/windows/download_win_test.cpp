// The system's URL service behind Win32Download, against a loopback HTTP
// server that lives in this test program: a real socket, no outside process.
#include "platform/download_win.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <winsock2.h>

#include <atomic>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "platform/download_address.h"
#include "platform/handler_errors_win.h"
#include "platform/unique_handle_win.h"
#include "platform/win32_platform.h"

namespace {

constexpr DWORD kBoundMs = 30000;
// Larger than any body here.
constexpr std::uint64_t kNoBound = 1ull << 40;

// A reply the server gives for one path (the query is not looked at).
struct Reply {
  int status = 200;
  std::string body;
  // When not npos: the server sends this many bytes of the body, then waits
  // until the test lets it go on (or the bound passes), then sends the rest.
  std::size_t holdAfter = std::string::npos;
  // When not npos: the connection closes after this many bytes of the body,
  // short of the length the head announced.
  std::size_t cutAfter = std::string::npos;
  // More lines of the head, each ending in CR LF.
  std::string headers{};
};

// Answers GET requests on 127.0.0.1 with a port of the system's choosing, one
// thread per connection. Unknown paths get a 404.
class LoopbackServer {
 public:
  explicit LoopbackServer(std::map<std::string, Reply> replies)
      : replies_(std::move(replies)), resume_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
    wsaStarted_ = true;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, SOMAXCONN) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptConnections(); });
  }
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;
  ~LoopbackServer() {
    stopping_ = true;
    SetEvent(resume_.Get());
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& connection : connections_) connection.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (wsaStarted_) WSACleanup();
  }

  [[nodiscard]] bool Ready() const { return port_ != 0; }
  [[nodiscard]] std::string Url(const std::string& target) const {
    return "http://127.0.0.1:" + std::to_string(port_) + target;
  }
  // Request targets (path and query) in the order they arrived.
  [[nodiscard]] std::vector<std::string> Requests() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  // The heads of those requests, whole.
  [[nodiscard]] std::vector<std::string> RequestHeads() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return heads_;
  }
  // Connections accepted, whatever came over them.
  [[nodiscard]] int Connections() const { return connections_count_; }
  // Lets a held reply go on.
  void Resume() { SetEvent(resume_.Get()); }
  // A held reply went on because the test said so, not because the bound passed.
  [[nodiscard]] bool ResumedInTime() const { return resumedInTime_; }
  // A held reply has stopped waiting, told or not.
  [[nodiscard]] bool HoldOver() const { return holdOver_; }

 private:
  void AcceptConnections() {
    while (!stopping_) {
      // Short polls, so that the destructor needs no way to interrupt accept().
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(listener_, &readable);
      timeval pollTime{0, 50'000};
      if (select(0, &readable, nullptr, nullptr, &pollTime) != 1) continue;
      const SOCKET connection = accept(listener_, nullptr, nullptr);
      if (connection == INVALID_SOCKET) continue;
      ++connections_count_;
      connections_.emplace_back([this, connection] { Answer(connection); });
    }
  }

  void Answer(SOCKET connection) {
    const DWORD receiveBoundMs = kBoundMs;
    setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&receiveBoundMs),
               sizeof receiveBoundMs);
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const int received = recv(connection, buffer, sizeof buffer, 0);
      if (received <= 0) break;
      request.append(buffer, received);
    }
    // "GET /path?query HTTP/1.1"
    const std::size_t targetStart = request.find(' ') + 1;
    const std::size_t targetEnd = request.find(' ', targetStart);
    if (targetStart == 0 || targetEnd == std::string::npos) {
      closesocket(connection);
      return;
    }
    const std::string target = request.substr(targetStart, targetEnd - targetStart);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(target);
      heads_.push_back(request.substr(0, request.find("\r\n\r\n")));
    }
    const auto found = replies_.find(target.substr(0, target.find('?')));
    const Reply reply = found != replies_.end() ? found->second : Reply{404, "<html>gone</html>"};
    const std::string head =
        "HTTP/1.1 " + std::to_string(reply.status) + (reply.status == 200 ? " OK" : " Other") +
        "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
        std::to_string(reply.body.size()) + "\r\nConnection: close\r\n" + reply.headers + "\r\n";
    bool sent = SendAll(connection, head);
    if (reply.holdAfter != std::string::npos) {
      sent = sent && SendAll(connection, reply.body.substr(0, reply.holdAfter));
      resumedInTime_ = WaitForSingleObject(resume_.Get(), kBoundMs) == WAIT_OBJECT_0 && !stopping_;
      holdOver_ = true;
      sent = sent && SendAll(connection, reply.body.substr(reply.holdAfter));
    } else {
      sent = sent && SendAll(connection, reply.body.substr(0, reply.cutAfter));
    }
    // Everything sent before the close, so that the client sees no reset.
    shutdown(connection, SD_SEND);
    while (sent && recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
    closesocket(connection);
  }

  static bool SendAll(SOCKET connection, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
      const int sent =
          send(connection, bytes.data() + done,
               static_cast<int>(std::min<std::size_t>(bytes.size() - done, 1 << 16)), 0);
      if (sent <= 0) return false;
      done += static_cast<std::size_t>(sent);
    }
    return true;
  }

  const std::map<std::string, Reply> replies_;
  UniqueKernelHandle resume_;
  bool wsaStarted_ = false;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> resumedInTime_{false};
  std::atomic<bool> holdOver_{false};
  std::thread acceptor_;
  std::vector<std::thread> connections_;  // the acceptor's alone until it has ended
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::vector<std::string> heads_;
  std::atomic<int> connections_count_{0};
};

// A port on which nothing listens: the system hands out a free one, and we
// let it go again.
unsigned short ClosedPort() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 0;
  unsigned short port = 0;
  const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (probe != INVALID_SOCKET &&
      bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  if (probe != INVALID_SOCKET) closesocket(probe);
  WSACleanup();
  return port;
}

// Bytes of every value, line breaks and zeros among them: the file must hold
// them unchanged.
std::string BinaryBody(std::size_t size) {
  std::string body(size, '\0');
  std::uint32_t state = 12345;
  for (char& byte : body) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 16);
  }
  return body;
}

// A folder of its own in the temporary folder, removed with what it holds.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH]{};
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + "dusk-download-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount64());
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    for (const std::string& file : made_) DeleteFileA(file.c_str());
    RemoveDirectoryA(path_.c_str());
  }
  std::string File(const std::string& name) {
    made_.push_back(path_ + "\\" + name);
    return made_.back();
  }

 private:
  std::string path_;
  std::vector<std::string> made_;
};

std::string ReadWhole(const std::string& path) {
  const HANDLE opened = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return "<missing>";
  const UniqueKernelHandle file(opened);
  std::string bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

void WriteWhole(const std::string& path, const std::string& bytes) {
  const HANDLE opened = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(opened, INVALID_HANDLE_VALUE);
  const UniqueKernelHandle file(opened);
  DWORD written = 0;
  ASSERT_TRUE(
      WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  ASSERT_EQ(written, bytes.size());
}

// What a background download told, with the thread it was told on.
struct Heard {
  bool finished = false;  // else a progress notification
  std::uint32_t received = 0;
  std::uint32_t total = 0;
  bool succeeded = false;
  DWORD thread = 0;
};

class RecordingListener : public Download::Listener {
 public:
  std::function<void(std::uint32_t received, std::uint32_t total)> onProgress;
  std::vector<Heard> heard;

  void DownloadProgress(std::uint32_t received, std::uint32_t total) override {
    heard.push_back({false, received, total, false, GetCurrentThreadId()});
    if (onProgress) onProgress(received, total);
  }
  void DownloadFinished(bool succeeded) override {
    heard.push_back({true, 0, 0, succeeded, GetCurrentThreadId()});
  }
  [[nodiscard]] bool Finished() const { return !heard.empty() && heard.back().finished; }
};

// Serves this thread's windows until the condition holds; false when the
// bound passed first.
bool PumpMessagesUntil(const std::function<bool()>& condition, DWORD boundMs = kBoundMs) {
  const ULONGLONG deadline = GetTickCount64() + boundMs;
  for (;;) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (condition()) return true;
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
  }
}

std::string Describe(const std::vector<Heard>& heard) {
  std::string text;
  for (const Heard& h : heard) {
    if (h.finished) {
      text += h.succeeded ? " end(ok)" : " end(failed)";
      continue;
    }
    text += ' ';
    text += std::to_string(h.received);
    text += '/';
    text += std::to_string(h.total);
  }
  return text;
}

// Something unique per run keeps any cache on the way out of the answer.
std::string UniqueQuery() {
  std::string query(1, '?');
  query += std::to_string(GetCurrentProcessId());
  query += 'a';
  query += std::to_string(GetTickCount64());
  return query;
}

}  // namespace

TEST(Win32Download, StoresTheWholeBodyInPlaceOfAnOlderFileAndSendsTheQueryUnchanged) {
  const std::string body = BinaryBody(300'000);
  LoopbackServer server({{"/v/dusk.html", {200, body}}});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  const std::string file = folder.File("up");
  // Longer than the body: what is left of it would show behind the new bytes.
  WriteWhole(file, std::string(400'000, 'x'));
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);

  const std::string target = "/v/dusk.html?2026121014a30a45" + UniqueQuery();
  EXPECT_TRUE(download.ToFile(server.Url(target), file, kNoBound));

  const std::string stored = ReadWhole(file);
  EXPECT_EQ(stored.size(), body.size());
  EXPECT_TRUE(stored == body) << "the stored bytes differ from the body";
  EXPECT_EQ(server.Requests(), std::vector<std::string>{target});
}

TEST(Win32Download, ReportsAFailureAndKeepsNoFileForAnAnswerThatIsNotTheResource) {
  struct Case {
    const char* name;
    Reply reply;
  };
  const Case cases[] = {
      {"404", {404, "<html>not here</html>"}},
      {"500", {500, "<html>broken</html>"}},
      {"503", {503, "<html>busy</html>"}},
      {"cut short", {200, BinaryBody(100'000), std::string::npos, 40'000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer server({{"/v/dusk.html", c.reply}});
    ASSERT_TRUE(server.Ready());
    ScratchFolder folder;
    const std::string file = folder.File("up");
    HandlerErrors errors;
    Win32Threads threads;
    Win32Download download(GetModuleHandleA(nullptr), threads, errors);
    EXPECT_FALSE(download.ToFile(server.Url("/v/dusk.html" + UniqueQuery()), file, kNoBound));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(server.Requests().size(), 1u);
  }
}

TEST(Win32Download, KeepsTheFirstBytesOfALongAnswerWithoutWaitingForTheRest) {
  const std::string body = BinaryBody(200'000);
  // The rest never comes unless the test lets it: an endless answer.
  LoopbackServer server({{"/v/dusk.html", {200, body, 100'000}}});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  const std::string file = folder.File("up");
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);

  EXPECT_TRUE(download.ToFile(server.Url("/v/dusk.html" + UniqueQuery()), file, 65'536));

  EXPECT_FALSE(server.HoldOver()) << "the download waited for the rest of the answer";
  EXPECT_TRUE(ReadWhole(file) == body.substr(0, 65'536)) << "the stored bytes are not the head";
}

TEST(Win32Download, ReportsAFailureWhenNothingListens) {
  const unsigned short port = ClosedPort();
  ASSERT_NE(port, 0);
  ScratchFolder folder;
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);
  const std::string file = folder.File("up");
  EXPECT_FALSE(download.ToFile(
      "http://127.0.0.1:" + std::to_string(port) + "/v/dusk.html" + UniqueQuery(), file, kNoBound));
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Win32Download, TellsTheProgressWhileItRunsThenTheEndOnThePumpingThread) {
  const std::string body = BinaryBody(512 * 1024);
  const std::size_t held = body.size() / 4;
  LoopbackServer server({{"/new/Dusk.exe", {200, body, held}}});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  const std::string file = folder.File("upDusk.exe");
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);
  RecordingListener listener;
  // The server holds the rest of the body back until the first bytes are
  // reported here: the news must come while the download still runs.
  listener.onProgress = [&](std::uint32_t received, std::uint32_t) {
    if (received > 0) server.Resume();
  };

  download.StartToFile(server.Url("/new/Dusk.exe" + UniqueQuery()), file, kNoBound, listener);
  ASSERT_TRUE(PumpMessagesUntil([&] { return listener.Finished(); }))
      << "heard:" << Describe(listener.heard);

  SCOPED_TRACE("heard:" + Describe(listener.heard));
  EXPECT_TRUE(server.ResumedInTime()) << "no progress with bytes arrived while the server waited";
  ASSERT_GE(listener.heard.size(), 2u);
  EXPECT_TRUE(listener.heard.back().succeeded);
  for (const Heard& h : listener.heard) EXPECT_EQ(h.thread, GetCurrentThreadId());
  // The data's progress as it grew, its last notification the whole file.
  std::uint32_t lastReceived = 0;
  const Heard* lastOfData = nullptr;
  for (const Heard& h : listener.heard) {
    if (h.finished || h.total != body.size()) continue;
    EXPECT_GE(h.received, lastReceived);
    lastReceived = h.received;
    lastOfData = &h;
  }
  ASSERT_NE(lastOfData, nullptr) << "no notification named the body's size as the total";
  EXPECT_EQ(lastOfData->received, body.size());
  EXPECT_TRUE(ReadWhole(file) == body) << "the stored bytes differ from the body";
  EXPECT_FALSE(errors.Take());
}

TEST(Win32Download, TellsAFailedBackgroundDownloadOnThePumpingThread) {
  LoopbackServer server({});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);
  RecordingListener listener;

  download.StartToFile(server.Url("/new/Dusk.exe" + UniqueQuery()), folder.File("upDusk.exe"),
                       kNoBound, listener);
  ASSERT_TRUE(PumpMessagesUntil([&] { return listener.Finished(); }))
      << "heard:" << Describe(listener.heard);

  EXPECT_FALSE(listener.heard.back().succeeded);
  for (const Heard& h : listener.heard) EXPECT_EQ(h.thread, GetCurrentThreadId());
  EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(Win32Download, AbandonsADownloadLargerThanItsBound) {
  static constexpr std::size_t kBodyBytes = 512 * 1024;
  struct Case {
    const char* name;
    std::uint64_t maxBytes;
    bool succeeds;
  };
  static constexpr Case kCases[] = {
      {"a tenth of the body allowed", kBodyBytes / 10, false},
      {"one byte less than the body", kBodyBytes - 1, false},
      {"exactly the body", kBodyBytes, true},
  };
  const std::string body = BinaryBody(kBodyBytes);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    LoopbackServer server({{"/new/Dusk.exe", {200, body}}});
    ASSERT_TRUE(server.Ready());
    ScratchFolder folder;
    HandlerErrors errors;
    Win32Threads threads;
    Win32Download download(GetModuleHandleA(nullptr), threads, errors);
    RecordingListener listener;

    download.StartToFile(server.Url("/new/Dusk.exe" + UniqueQuery()),
                         folder.File("upDusk.exe.download"), c.maxBytes, listener);
    ASSERT_TRUE(PumpMessagesUntil([&] { return listener.Finished(); }))
        << "heard:" << Describe(listener.heard);

    EXPECT_EQ(listener.heard.back().succeeded, c.succeeds) << "heard:" << Describe(listener.heard);
    for (const Heard& h : listener.heard) {
      if (!h.finished) {
        EXPECT_LE(h.received, c.maxBytes);
      }
    }
  }
}

TEST(Win32Download, NeverSignsInWhenTheServerAsksForWindowsCredentials) {
  Reply signIn{401, "<html>who are you</html>"};
  signIn.headers = "WWW-Authenticate: NTLM\r\nWWW-Authenticate: Negotiate\r\n";
  LoopbackServer server({{"/v/dusk.html", signIn}});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  const std::string file = folder.File("up");
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);

  EXPECT_FALSE(download.ToFile(server.Url("/v/dusk.html" + UniqueQuery()), file, kNoBound));

  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  const std::vector<std::string> heads = server.RequestHeads();
  ASSERT_EQ(heads.size(), 1u);
  std::string head = heads[0];
  for (char& c : head) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(head.find("authorization:"), std::string::npos) << heads[0];
}

TEST(Win32Download, AsksNothingOfAnAddressOutsideTheWeb) {
  LoopbackServer server({{"/v/dusk.html", {200, "1.0.2.0"}}});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  // A file that exists, so that only the refusal keeps it from being copied.
  const std::string existing = folder.File("existing");
  WriteWhole(existing, "1.0.2.0");
  const std::string hostAndPort = server.Url("").substr(std::string("http://").size());
  const std::string addresses[] = {
      "file:///" + existing,
      "FILE://" + existing,
      "ftp://" + hostAndPort + "/v/dusk.html",
      "\\\\127.0.0.1\\share\\dusk.html",
      "//" + hostAndPort + "/v/dusk.html",
      "http:///v/dusk.html",
      existing,
  };
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    const std::string file = folder.File("up");
    EXPECT_FALSE(download.ToFile(address, file, kNoBound));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);

    RecordingListener listener;
    download.StartToFile(address, file, kNoBound, listener);
    ASSERT_TRUE(PumpMessagesUntil([&] { return listener.Finished(); }));
    EXPECT_FALSE(listener.heard.back().succeeded);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(server.Connections(), 0);
}

TEST(Win32Download, FollowsAFewRedirectsWithinTheWebOnly) {
  const auto redirect = [](const std::string& location) {
    Reply reply{302, "<html>moved</html>"};
    reply.headers = "Location: " + location + "\r\n";
    return reply;
  };
  LoopbackServer server({
      {"/relative", redirect("/v/dusk.html")},
      {"/to-ftp", redirect("ftp://127.0.0.1/v/dusk.html")},
      {"/to-file", redirect("file:///c:/windows/win.ini")},
      {"/hop1", redirect("/hop2")},
      {"/hop2", redirect("/hop3")},
      {"/hop3", redirect("/v/dusk.html")},
      {"/hop0", redirect("/hop1")},
      {"/v/dusk.html", {200, "1.0.2.0"}},
  });
  ASSERT_TRUE(server.Ready());
  struct Case {
    const char* target;
    bool stored;
    std::size_t requests;
  };
  static constexpr Case kCases[] = {
      {"/relative", true, 2},
      {"/hop1", true, kMaxRedirects + 1},   // as many redirects as are followed
      {"/hop0", false, kMaxRedirects + 1},  // one more
      {"/to-ftp", false, 1},
      {"/to-file", false, 1},
  };
  ScratchFolder folder;
  HandlerErrors errors;
  Win32Threads threads;
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);
  std::size_t requestsBefore = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.target);
    const std::string file = folder.File("up");
    EXPECT_EQ(download.ToFile(server.Url(c.target), file, kNoBound), c.stored);
    EXPECT_EQ(ReadWhole(file), c.stored ? "1.0.2.0" : "<missing>");
    const std::size_t requests = server.Requests().size();
    EXPECT_EQ(requests - requestsBefore, c.requests);
    requestsBefore = requests;
    (void)DeleteFileA(file.c_str());
  }
}

namespace {

// Set on a thread whose large allocations are to fail: a fault inside the
// download's own code, where no test could reach otherwise.
thread_local bool tFailLargeAllocations = false;

// The system's threads, counted; or none at all; or threads whose large
// allocations fail.
class CountingThreads : public Threads {
 public:
  bool StartDetached(std::function<void()> body) override {
    ++starts;
    if (refuse) return false;
    if (!failLargeAllocations) return threads_.StartDetached(std::move(body));
    return threads_.StartDetached([body = std::move(body)] {
      tFailLargeAllocations = true;
      body();
    });
  }
  int starts = 0;
  bool refuse = false;
  bool failLargeAllocations = false;

 private:
  Win32Threads threads_;
};

}  // namespace

TEST(Win32Download, StartsItsThreadThroughTheThreadsItWasGiven) {
  LoopbackServer server({{"/new/Dusk.exe", {200, BinaryBody(1000)}}});
  ASSERT_TRUE(server.Ready());
  for (const bool refuse : {false, true}) {
    SCOPED_TRACE(refuse ? "no thread" : "a thread");
    ScratchFolder folder;
    const std::string file = folder.File("upDusk.exe");
    HandlerErrors errors;
    CountingThreads threads;
    threads.refuse = refuse;
    Win32Download download(GetModuleHandleA(nullptr), threads, errors);
    RecordingListener listener;

    download.StartToFile(server.Url("/new/Dusk.exe" + UniqueQuery()), file, kNoBound, listener);
    ASSERT_TRUE(PumpMessagesUntil([&] { return listener.Finished(); }));

    EXPECT_EQ(threads.starts, 1);
    EXPECT_EQ(listener.heard.back().succeeded, !refuse);
    EXPECT_EQ(GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES, !refuse);
  }
}

TEST(Win32Download, AFaultInsideTheDownloadFailsItAndLeavesNoFile) {
  LoopbackServer server({{"/new/Dusk.exe", {200, BinaryBody(1000)}}});
  ASSERT_TRUE(server.Ready());
  ScratchFolder folder;
  const std::string file = folder.File("upDusk.exe");
  HandlerErrors errors;
  CountingThreads threads;
  threads.failLargeAllocations = true;  // the read buffer among them, once the file is made
  Win32Download download(GetModuleHandleA(nullptr), threads, errors);
  RecordingListener listener;

  download.StartToFile(server.Url("/new/Dusk.exe" + UniqueQuery()), file, kNoBound, listener);
  ASSERT_TRUE(PumpMessagesUntil([&] { return listener.Finished(); }));

  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_FALSE(listener.heard.back().succeeded);
  EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(errors.Take());
}

// Every allocation of this test program comes here; only a thread that asked
// for it sees its large ones fail.
void* operator new(std::size_t size) {
  if (tFailLargeAllocations && size >= 64 * 1024) throw std::bad_alloc();
  if (void* memory = HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
  if (memory) HeapFree(GetProcessHeap(), 0, memory);
}
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
