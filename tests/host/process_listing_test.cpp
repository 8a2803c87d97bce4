#include "process/process_listing.h"

#include <gtest/gtest.h>

#include "process/process_windows.h"
#include "tests/fakes/fake_processes.h"

namespace {

constexpr char kQq[] = "C:\\Program Files\\QQ\\qq.exe";
constexpr char kExplorer[] = "C:\\Windows\\explorer.exe";

class GetProcessTest : public testing::Test {
 protected:
  GetProcessTest() : picker("bsSkinComboBoxEx1", nullptr, {20, 330, 265, 20}, "") {
    picker.SetImages(&images);
  }

  // The file whose icon the entry shows; empty for the default picture.
  std::string PictureFile(const ComboBoxEx::Item& item) const {
    EXPECT_GE(item.imageIndex, 0);
    EXPECT_LT(item.imageIndex, images.Count());
    return processes.IconFile(images.SourceOf(item.imageIndex));
  }

  FakeProcesses processes;
  ImageList images;
  ComboBoxEx picker;
};

// A native list that takes nothing.
class RefusingImageList : public ImageListMirror {
 public:
  bool AddIcon(IconHandle) override { return false; }
  bool AddCopy(int) override { return false; }
  void Truncate(int count) override { truncatedTo = count; }
  [[nodiscard]] unsigned long long Handle() const override { return 1; }
  int truncatedTo = -1;
};

}  // namespace

TEST(ProcessWindows, FindsTheFirstVisibleEnabledWindowOfTheProcess) {
  // Window, process, visible, enabled; the top of the stacking order first.
  const ProcessWindows windows({
      {10, 7, false, true},
      {11, 7, true, false},
      {12, 7, true, true},
      {13, 7, true, true},
      {14, 0, true, true},
      {15, 8, false, false},
  });
  struct Case {
    std::uint32_t processId;
    WindowHandle window;
  };
  static constexpr Case kCases[] = {{7, 12}, {0, 0}, {8, 0}, {9, 0}};
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.processId);
    EXPECT_EQ(windows.FindProcessWindow(c.processId), c.window);
  }
}

TEST_F(GetProcessTest, ListsEveryProcessInSnapshotOrderWithItsTitleAndIcon) {
  processes.processes = {
      {0, "[System Process]"},
      {100, "explorer.exe", kExplorer},
      {200, "qq.exe", kQq},
      {300, "locked.exe"},  // cannot be opened
      {201, "qq.exe", kQq},
      {400, "tool.exe", "C:\\Tools\\tool.exe"},
      {500, "C:\\Apps\\full.exe", "C:\\Apps\\full.exe"},
  };
  processes.windows = {
      {1, 0, "Idle"},
      {2, 200, "Hidden", /*visible=*/false},
      {3, 200, "Disabled", /*visible=*/true, /*enabled=*/false},
      {4, 200, "QQ|消息"},
      {5, 200, "QQ below"},
      {6, 100, ""},
      {7, 201, "QQ 2"},
      {8, 300, "Locked"},
  };
  processes.iconCounts = {{kExplorer, 1}, {kQq, 2}, {"C:\\Apps\\full.exe", 1}};
  for (std::size_t i = 0; i < processes.processes.size(); ++i) {
    processes.processes[i].startTime = 133500000000000000 + i;
  }
  processes.processes[3].cannotBeOpened = true;

  const std::vector<ListedProcess> listed = GetProcess(processes, picker, images);

  struct Row {
    const char* caption;
    const char* pictureFile;
    std::uint32_t processId;
    std::uint64_t startTime;  // 0: not to be read
  };
  static const Row kRows[] = {
      {"[System Process]", "", 0, 133500000000000000},       // process 0 has no window
      {"explorer.exe", kExplorer, 100, 133500000000000001},  // an untitled window
      {"QQ|消息|qq.exe", kQq, 200, 133500000000000002},      // a "|" in the title stays
      {"Locked|locked.exe", "", 300, 0},              // no path nor start time, still a title
      {"QQ 2|qq.exe", kQq, 201, 133500000000000004},  // the second copy: its own title
      {"tool.exe", "", 400, 133500000000000005},      // a file without icons
      {"C:\\Apps\\full.exe", "C:\\Apps\\full.exe", 500, 133500000000000006},
  };
  const std::vector<ComboBoxEx::Item>& items = picker.Items();
  ASSERT_EQ(items.size(), std::size(kRows));
  ASSERT_EQ(listed.size(), std::size(kRows));
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(kRows[i].caption);
    EXPECT_EQ(items[i].caption, kRows[i].caption);
    EXPECT_EQ(PictureFile(items[i]), kRows[i].pictureFile);
    EXPECT_EQ(listed[i].processId, kRows[i].processId);
    EXPECT_EQ(listed[i].startTime, kRows[i].startTime);
  }
  // Both copies have an image of their own.
  EXPECT_NE(items[2].imageIndex, items[4].imageIndex);
  EXPECT_EQ(images.Count(), 5);

  // One enumeration, one icon read per file, every icon given back.
  EXPECT_EQ(processes.windowEnumerations, 1);
  EXPECT_EQ(
      processes.iconCountReads,
      (std::vector<std::string>{kExplorer, kQq, "C:\\Tools\\tool.exe", "C:\\Apps\\full.exe"}));
  EXPECT_EQ(processes.firstIconReads,
            (std::vector<std::string>{kExplorer, kQq, "C:\\Apps\\full.exe"}));
  EXPECT_TRUE(processes.liveIcons.empty());
  EXPECT_EQ(processes.strayReleases, 0);
}

TEST_F(GetProcessTest, ASecondListingReplacesTheEntriesAndImagesOfTheFirst) {
  processes.processes = {
      {100, "explorer.exe", kExplorer},
      {200, "qq.exe", kQq},
      {201, "qq.exe", kQq},
  };
  processes.iconCounts = {{kExplorer, 1}, {kQq, 1}, {"C:\\notepad.exe", 1}};
  GetProcess(processes, picker, images);
  ASSERT_EQ(images.Count(), 4);
  const std::size_t firstListingIcons = processes.firstIconReads.size();

  processes.processes = {
      {201, "qq.exe", kQq},
      {700, "notepad.exe", "C:\\notepad.exe"},
  };
  processes.windows = {{9, 700, "无标题 - 记事本"}};
  GetProcess(processes, picker, images);

  const std::vector<ComboBoxEx::Item>& items = picker.Items();
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].caption, "qq.exe");
  EXPECT_EQ(items[1].caption, "无标题 - 记事本|notepad.exe");
  EXPECT_EQ(images.Count(), 3);
  EXPECT_EQ(PictureFile(items[0]), kQq);
  EXPECT_EQ(PictureFile(items[1]), "C:\\notepad.exe");
  // Read afresh: nothing is kept from one listing to the next.
  EXPECT_EQ(processes.firstIconReads.size(), firstListingIcons + 2);
  EXPECT_EQ(processes.windowEnumerations, 2);
}

TEST_F(GetProcessTest, WithoutASnapshotThePickerIsEmpty) {
  processes.processes = {{100, "explorer.exe", kExplorer}};
  processes.iconCounts = {{kExplorer, 1}};
  GetProcess(processes, picker, images);
  picker.UserSelect(0);

  processes.snapshotFails = true;
  GetProcess(processes, picker, images);
  EXPECT_TRUE(picker.Items().empty());
  EXPECT_EQ(picker.Text(), "");
  EXPECT_EQ(images.Count(), 1);
  EXPECT_EQ(processes.windowEnumerations, 1);
}

TEST_F(GetProcessTest, AnIconTheListRefusesLeavesTheDefaultPicture) {
  auto mirror = std::make_unique<RefusingImageList>();
  RefusingImageList& native = *mirror;
  images.AttachMirror(std::move(mirror));
  processes.processes = {
      {200, "qq.exe", kQq},
      {201, "qq.exe", kQq},
  };
  processes.iconCounts = {{kQq, 1}};
  GetProcess(processes, picker, images);
  ASSERT_EQ(picker.Items().size(), 2u);
  EXPECT_EQ(picker.Items()[0].imageIndex, 0);
  EXPECT_EQ(picker.Items()[1].imageIndex, 0);
  EXPECT_EQ(images.Count(), 1);
  EXPECT_EQ(native.truncatedTo, 1);
  EXPECT_TRUE(processes.liveIcons.empty());
}
