#include "command/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "command/command_texts.h"
#include "command/request_wire.h"
#include "command/when_words.h"

// The words of dusk-cli that make no command, each with the message a script's
// user reads. What a command does is in command_runner_test.cpp.
namespace {

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

}  // namespace

TEST(CommandLineTest, WordsThatMakeNoCommandSayWhy) {
  static const struct {
    const char* words;
    std::string error;
  } kCases[] = {
      {"add alarm in 90", QuotedError(kBadDurationText, "90")},
      {"add alarm in m", QuotedError(kBadDurationText, "m")},
      {"add alarm in 0m", QuotedError(kBadDurationText, "0m")},
      {"add alarm in 30m1h", QuotedError(kBadDurationText, "30m1h")},
      {"add alarm in 1h1h", QuotedError(kBadDurationText, "1h1h")},
      {"add alarm in 1000000d1m", QuotedError(kBadDurationText, "1000000d1m")},
      {"add alarm in 99999999999999999999m",
       QuotedError(kBadDurationText, "99999999999999999999m")},
      {"add alarm in", kMissingDurationText},
      {"add alarm at 24:00", QuotedError(kBadTimeText, "24:00")},
      {"add alarm at 23:60", QuotedError(kBadTimeText, "23:60")},
      {"add alarm at 7:5", QuotedError(kBadTimeText, "7:5")},
      {"add alarm at 23:00:60", QuotedError(kBadTimeText, "23:00:60")},
      {"add alarm at 2027-02-29 10:00", QuotedError(kBadDateText, "2027-02-29")},
      {"add alarm at 2100-02-29 10:00", QuotedError(kBadDateText, "2100-02-29")},
      {"add alarm at 2026-04-31 10:00", QuotedError(kBadDateText, "2026-04-31")},
      {"add alarm at 2026-12-24", kMissingTimeText},
      {"add alarm at 2026-12-24 24:00", QuotedError(kBadTimeText, "24:00")},
      {"add alarm at", kMissingTimeText},
      {"add alarm after-exit", kMissingProgramText},
      {"add alarm after-exit aria2c.exe +61m", QuotedError(kBadDelayText, "+61m")},
      {"add alarm after-exit aria2c.exe +", QuotedError(kBadDelayText, "+")},
      {"add alarm after-exit C:\\bin\\aria2c.exe",
       QuotedError(kBadProgramText, "C:\\bin\\aria2c.exe")},
      {"add alarm soon", QuotedError(kUnknownWhenText, "soon")},
      {"add alarm", kMissingWhenText},
      {"add boil in 5m", QuotedError(kUnknownKindText, "boil")},
      {"add", kMissingKindText},
      {"add shutdown in 5m --text 晚安", QuotedError(kOptionNotForKindText, "--text")},
      {"add alarm in 5m --text a --text b", QuotedError(kOptionTwiceText, "--text")},
      {"add alarm in 5m --text", QuotedError(kMissingValueText, "--text")},
      {"add alarm in 5m --sound x", QuotedError(kUnknownOptionText, "--sound")},
      {"add alarm in 5m later", QuotedError(kExtraWordText, "later")},
      {"add alarm in 5m --repeat daily", kRepeatNeedsMomentText},
      {"add alarm after-exit 42 --repeat daily", kRepeatNeedsMomentText},
      {"add alarm at 23:00 --repeat hourly", QuotedError(kBadRepeatText, "hourly")},
      {"add alarm at 23:00 --repeat each-time", kRepeatNeedsMomentText},
      {"add shutdown idle 30m --repeat daily", kRepeatNeedsMomentText},
      {"add shutdown downloads-done below 20kb/s", QuotedError(kBadRateText, "20kb/s")},
      {"add shutdown downloads-done below 0KB/s", QuotedError(kBadRateText, "0KB/s")},
      {"add shutdown downloads-done below", QuotedError(kMissingValueText, "below")},
      {"add shutdown downloads-done for 25h", QuotedError(kBadConditionMinutesText, "25h")},
      {"add shutdown downloads-done cpu-below 101%", QuotedError(kBadCpuText, "101%")},
      {"add shutdown downloads-done cpu-below 15", QuotedError(kBadCpuText, "15")},
      {"add shutdown downloads-done soon", QuotedError(kExtraWordText, "soon")},
      {"add shutdown idle", kMissingDurationText},
      {"add shutdown idle 0m", QuotedError(kBadConditionMinutesText, "0m")},
      {"add shutdown idle 30m always", QuotedError(kExtraWordText, "always")},
      {"add open in 5m", kNeedsProgramText},
      {"add close in 5m", kNeedsProgramText},
      {"add url in 5m", kNeedsUrlText},
      {"list --xml", QuotedError(kUnknownOptionText, "--xml")},
      {"list --json --json", QuotedError(kOptionTwiceText, "--json")},
      {"cancel", kMissingIdText},
      {"cancel 0", QuotedError(kBadIdText, "0")},
      {"cancel seven", QuotedError(kBadIdText, "seven")},
      {"cancel 3 4", QuotedError(kExtraWordText, "4")},
      {"postpone 3", kMissingDurationText},
      {"postpone all 10m", QuotedError(kBadIdText, "all")},
      {"postpone 3 10", QuotedError(kBadDurationText, "10")},
      {"frobnicate", QuotedError(kUnknownCommandText, "frobnicate")},
      {"", kHelpText},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words);
    const CommandReading reading = ReadCommand(Words(c.words));
    EXPECT_FALSE(reading.command.has_value());
    EXPECT_EQ(reading.error, c.error);
  }
}

TEST(CommandLineTest, ATextKeepsItsBlanksAndDashes) {
  const std::vector<std::string> words = {"add", "alarm",  "in",
                                          "5m",  "--text", "--开会 带 笔记本--"};
  const CommandReading reading = ReadCommand(words);
  ASSERT_TRUE(reading.command.has_value()) << reading.error;
  EXPECT_EQ(std::get<AddCommand>(*reading.command).param, "--开会 带 笔记本--");
}

TEST(CommandLineTest, RequestAndReplyComeBackAsSent) {
  const std::vector<std::string> words = {"add", "alarm", "in", "1m", "--text", "测试", ""};
  EXPECT_EQ(DecodeRequest(EncodeRequest(words)), words);
  EXPECT_EQ(DecodeRequest(EncodeRequest({})), std::vector<std::string>());
  const CommandReply reply{ExitCode::Refused, "", "光阴似箭，设置的时间已经过去了。\n"};
  EXPECT_EQ(DecodeReply(EncodeReply(reply)), reply);

  static const struct {
    const char* name;
    std::string bytes;
  } kBadReplies[] = {
      {"empty", ""},
      {"no end", std::string("0\0out\0err", 9)},
      {"code 4", std::string("4\0\0\0", 4)},
      {"two pieces", std::string("0\0out\0", 6)},
      {"four pieces", std::string("0\0a\0b\0c\0", 8)},
  };
  for (const auto& c : kBadReplies) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(DecodeReply(c.bytes).has_value());
  }
  EXPECT_FALSE(DecodeRequest(std::string("add\0alarm", 9)).has_value());
}

TEST(CommandLineTest, ConditionsReadBackFromTheWordsTheListingWrites) {
  static const struct {
    const char* words;
    WaitCondition condition;
  } kCases[] = {
      {"downloads-done", NetworkQuietTrigger{}},
      {"downloads-done below 50KB/s for 1h cpu-below 5%", NetworkQuietTrigger{50, 60, true, 5}},
      {"downloads-done for 10m", NetworkQuietTrigger{20, 10, false, 15}},
      {"idle 30m", NoInputTrigger{30, true}},
      {"idle 1h even-watching", NoInputTrigger{60, false}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.words);
    const CommandReading reading = ReadCommand(Words(std::string("add hibernate ") + c.words));
    ASSERT_TRUE(reading.command.has_value()) << reading.error;
    const auto& add = std::get<AddCommand>(*reading.command);
    EXPECT_EQ(add.kind, TaskKind::Hibernate);
    const WaitCondition read = std::visit(
        [](const auto& when) -> WaitCondition {
          if constexpr (requires { when.trigger; }) {
            return when.trigger;
          } else {
            return {};
          }
        },
        add.when);
    EXPECT_EQ(read, c.condition);
    // What the listing writes, read again, is the same condition.
    const CommandReading again =
        ReadCommand(Words("add screen-off " + ConditionWords(c.condition)));
    ASSERT_TRUE(again.command.has_value()) << again.error;
    EXPECT_EQ(std::get<AddCommand>(*again.command).kind, TaskKind::ScreenOff);
  }
}
