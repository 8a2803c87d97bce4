#include "storage/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/fake_platform.h"
#include "tests/fakes/fake_profile_files.h"

namespace {

constexpr char kFolder[] = "C:\\Users\\李雷\\AppData\\Roaming\\Dusk";
constexpr char kPath[] = "C:\\Users\\李雷\\AppData\\Roaming\\Dusk\\settings.txt";

class SettingsFileTest : public testing::Test {
 protected:
  SettingsFileTest() : clock(At(23, 30, 5)), settings(files, clock, kFolder) {}

  FakeProfileFiles files;
  FakeClock clock;
  SettingsFile settings;
};

}  // namespace

TEST_F(SettingsFileTest, ChoicesComeBackInTheNextRunAndUnknownKeysAreKept) {
  files.contents[kPath] = "# Dusk settings\r\nlanguage.next=fr\r\n";
  settings.Load();
  EXPECT_TRUE(settings.Set("shutdown-method", "ask"));
  EXPECT_TRUE(settings.Set("panel.kind", "闹钟 = 提醒"));

  SettingsFile nextRun(files, clock, kFolder);
  nextRun.Load();
  EXPECT_EQ(nextRun.Get("shutdown-method"), "ask");
  EXPECT_EQ(nextRun.Get("panel.kind"), "闹钟 = 提醒");
  EXPECT_EQ(nextRun.Get("language.next"), "fr");
  EXPECT_EQ(nextRun.Get("missing"), std::nullopt);
  // Written whole beside the file and moved over it.
  EXPECT_TRUE(files.contents.contains(kPath));
  EXPECT_FALSE(files.contents.contains(std::string(kFolder) + "\\settings.tmp"));
}

TEST_F(SettingsFileTest, ADamagedFileGoesAsideAndTheDefaultsHold) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case kCases[] = {
      {"a line that is no setting", "# Dusk settings\r\nshutdown-method=ask\r\ngarbage\r\n"},
      {"a key with capitals", "Shutdown-Method=ask\r\n"},
      {"no key", "=ask\r\n"},
      {"bytes that are no UTF-8", "shutdown-method=\xff\xfe\r\n"},
      {"far too large", std::string(70000, '#')},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    files.contents.clear();
    files.contents[kPath] = c.bytes;
    SettingsFile read(files, clock, kFolder);
    read.Load();
    EXPECT_EQ(read.Get("shutdown-method"), std::nullopt);
    // Kept as it was until a choice is written; then moved aside, never over.
    EXPECT_EQ(files.contents[kPath], c.bytes);
    EXPECT_TRUE(read.Set("shutdown-method", "force"));
    EXPECT_EQ(files.contents[std::string(kFolder) + "\\settings.bad-20261210-233005.txt"], c.bytes);
    EXPECT_EQ(files.contents[kPath], "# Dusk settings\r\nshutdown-method=force\r\n");
  }
}

TEST_F(SettingsFileTest, AFileThatCannotBeReadIsReadAgainBeforeAChoiceIsWritten) {
  files.contents[kPath] = "shutdown-method=ask\r\nlanguage=en\r\n";
  files.failedReads = 1;
  settings.Load();
  EXPECT_EQ(settings.Get("language"), std::nullopt);

  // Readable again: the file's choices join this run's, this run's winning.
  EXPECT_TRUE(settings.Set("shutdown-method", "force-if-hung"));
  EXPECT_EQ(settings.Get("language"), "en");
  EXPECT_EQ(files.contents[kPath],
            "# Dusk settings\r\nlanguage=en\r\nshutdown-method=force-if-hung\r\n");

  // Still held: the choice lasts this run, and the file is not written over.
  SettingsFile held(files, clock, kFolder);
  files.failedReads = 2;
  held.Load();
  EXPECT_FALSE(held.Set("language", "zh"));
  EXPECT_EQ(held.Get("language"), "zh");
  EXPECT_EQ(files.contents[kPath],
            "# Dusk settings\r\nlanguage=en\r\nshutdown-method=force-if-hung\r\n");
}

TEST_F(SettingsFileTest, AFailedWriteKeepsTheChoiceAndTheOldFile) {
  files.contents[kPath] = "shutdown-method=ask\r\n";
  settings.Load();
  files.failing["flush"] = 112;  // ERROR_DISK_FULL
  EXPECT_FALSE(settings.Set("shutdown-method", "force"));
  EXPECT_EQ(settings.Get("shutdown-method"), "force");
  EXPECT_EQ(files.contents[kPath], "shutdown-method=ask\r\n");
  files.failing.clear();
  EXPECT_TRUE(settings.Set("language", "en"));
  EXPECT_EQ(files.contents[kPath], "# Dusk settings\r\nlanguage=en\r\nshutdown-method=force\r\n");
  // A value that would break the file's lines is refused.
  EXPECT_FALSE(settings.Set("language", "en\r\nx=y"));
  EXPECT_EQ(settings.Get("language"), "en");
}

// The entry panel's choices are made together: one write for all of them, and
// none taken when one of them cannot be a setting.
TEST_F(SettingsFileTest, SeveralChoicesGoInOneWrite) {
  settings.Load();
  files.calls.clear();
  EXPECT_TRUE(settings.Set({{"panel.mode", "1"}, {"panel.count", "45"}}));
  EXPECT_EQ(std::count_if(files.calls.begin(), files.calls.end(),
                          [](const std::string& call) { return call.starts_with("move"); }),
            1);
  EXPECT_EQ(files.contents.at(kPath), "# Dusk settings\r\npanel.count=45\r\npanel.mode=1\r\n");
  EXPECT_FALSE(settings.Set({{"panel.mode", "0"}, {"Panel.Unit", "1"}}));
  EXPECT_FALSE(settings.Set({{"panel.mode", "0"}, {"panel.text", "a\r\nb"}}));
  EXPECT_EQ(settings.Get("panel.mode"), "1");
}
