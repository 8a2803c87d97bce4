#pragma once

// What the tray menu's quick picks say.
inline constexpr char kQuickPicksMenuText[] = "快速定时";
inline constexpr char kShutdownIn30MinutesText[] = "30分钟后关机";
inline constexpr char kShutdownIn1HourText[] = "1小时后关机";
inline constexpr char kShutdownIn2HoursText[] = "2小时后关机";
inline constexpr char kShutdownTonightText[] = "今晚23:00关机";
inline constexpr char kPostponeHeadText[] = "推迟10分钟";
// A recent countdown's amount: "45分钟后", "2小时后", "1天后".
inline constexpr char kMinutesLaterText[] = "分钟后";
inline constexpr char kHoursLaterText[] = "小时后";
inline constexpr char kDaysLaterText[] = "天后";
