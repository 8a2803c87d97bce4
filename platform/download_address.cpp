#include "platform/download_address.h"

#include <algorithm>

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() &&
         std::equal(start.begin(), start.end(), text.begin(), [](char wanted, char c) {
           return wanted == (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
         });
}

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";

}  // namespace

bool IsWebAddress(std::string_view url) {
  std::string_view rest;
  if (StartsWithNoCase(url, kHttp)) {
    rest = url.substr(kHttp.size());
  } else if (StartsWithNoCase(url, kHttps)) {
    rest = url.substr(kHttps.size());
  } else {
    return false;
  }
  // "http:///x" or "http://\\host" names no host of the web.
  return !rest.empty() && rest.front() != '/' && rest.front() != '\\';
}

bool MayRedirect(std::string_view from, std::string_view to) {
  if (!IsWebAddress(to)) return false;
  return !(StartsWithNoCase(from, kHttps) && StartsWithNoCase(to, kHttp));
}
