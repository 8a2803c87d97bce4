#pragma once

#include <string_view>

// Which addresses a download may ask. Only the web: a file, a share or
// another protocol could make the system hand our credentials, or read what is
// not the update server's, at an address the answer chose.

// An http:// or https:// address (the scheme in any case) naming a host.
[[nodiscard]] bool IsWebAddress(std::string_view url);

// Whether an answer at `from` may send the download on to `to`: a web
// address, and never from https back to plain http.
[[nodiscard]] bool MayRedirect(std::string_view from, std::string_view to);

// How many redirects one download follows; the next one fails it.
inline constexpr int kMaxRedirects = 3;
