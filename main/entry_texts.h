#pragma once

// The entry panel's messages; dusk-cli refuses an added task with the same words.
inline constexpr char kNoKindChosenText[] = "请选择执行任务的类型";
inline constexpr char kNoProgramChosenText[] = "请选择要等待结束的软件";
inline constexpr char kEntryErrorCaption[] = "添加定时任务错误";
inline constexpr char kPastMomentText[] = "光阴似箭，设置的时间已经过去了。";
inline constexpr char kCannotWaitText[] =
    "无法等待这个软件结束：它已经结束，或者不允许本程序打开它。";
inline constexpr char kNotAProgramText[] = "这不是应用软件！";
