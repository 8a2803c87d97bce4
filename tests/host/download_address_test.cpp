#include "platform/download_address.h"

#include <gtest/gtest.h>

TEST(DownloadAddress, OnlyWebAddressesWithAHost) {
  struct Case {
    const char* url;
    bool web;
  };
  static constexpr Case kCases[] = {
      {"http://update.dusk.invalid/dusk.html", true},
      {"https://update.dusk.invalid/Dusk.exe", true},
      {"HTTP://127.0.0.1:8080/v?x=1", true},
      {"HtTpS://host", true},
      {"file:///C:/Windows/win.ini", false},
      {"ftp://127.0.0.1/Dusk.exe", false},
      {"\\\\host\\share\\Dusk.exe", false},
      {"//host/Dusk.exe", false},
      {"C:\\Dusk.exe", false},
      {"http:/host/x", false},
      {"http://", false},
      {"http:///x", false},
      {"http://\\\\host\\share", false},
      {" http://host/x", false},
      {"httpx://host/x", false},
      {"", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(IsWebAddress(c.url), c.web);
  }
}

TEST(DownloadAddress, RedirectsStayOnTheWebAndNeverLeaveHttps) {
  struct Case {
    const char* from;
    const char* to;
    bool allowed;
  };
  static constexpr Case kCases[] = {
      {"http://a/x", "http://b/y", true},
      {"http://a/x", "https://b/y", true},
      {"https://a/x", "HTTPS://b/y", true},
      {"https://a/x", "http://b/y", false},
      {"HTTPS://a/x", "Http://a/x", false},
      {"http://a/x", "ftp://a/x", false},
      {"http://a/x", "file:///C:/x", false},
      {"http://a/x", "\\\\a\\share\\x", false},
      {"http://a/x", "", false},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
    EXPECT_EQ(MayRedirect(c.from, c.to), c.allowed);
  }
}
