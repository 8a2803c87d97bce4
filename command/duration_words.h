#pragma once

#include <optional>
#include <string_view>

// A span of time as a script writes it: whole days, hours and minutes, each
// with its letter and in that order ("90m", "1h30m", "2d", "1d12h"); none when
// the text is not one.
[[nodiscard]] std::optional<long long> ParseDurationMinutes(std::string_view text);

// The longest countdown the entry panel takes: 1,000,000 days.
inline constexpr long long kMaxCountdownMinutes = 1000000LL * 1440;
