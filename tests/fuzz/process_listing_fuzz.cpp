// The process picker lists what the system reports: image names, paths and
// window titles of any bytes, windows of any process, files with or without
// icons, an image list that may refuse them.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "process/process_listing.h"
#include "tests/fakes/fake_processes.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// A native list that takes or refuses images as the input says.
class ChoosyImageList : public ImageListMirror {
 public:
  explicit ChoosyImageList(std::uint32_t refusals) : refusals_(refusals) {}
  bool AddIcon(IconHandle) override { return Take(); }
  bool AddCopy(int) override { return Take(); }
  void Truncate(int) override {}
  [[nodiscard]] unsigned long long Handle() const override { return 1; }

 private:
  bool Take() {
    const bool refused = (refusals_ & 1) != 0;
    refusals_ = refusals_ >> 1 | refusals_ << 31;
    return !refused;
  }
  std::uint32_t refusals_;
};

void CheckListing(const FakeProcesses& processes, const ComboBoxEx& picker, const ImageList& images,
                  std::size_t iconReadsBefore) {
  const std::vector<ComboBoxEx::Item>& items = picker.Items();
  FUZZ_CHECK(items.size() == (processes.snapshotFails ? 0 : processes.processes.size()));
  FUZZ_CHECK(images.Count() >= 1 && static_cast<std::size_t>(images.Count()) <= 1 + items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string& exeFile = processes.processes[i].exeFile;
    const std::string& caption = items[i].caption;
    FUZZ_CHECK(caption == exeFile || (caption.size() > exeFile.size() + 1 &&
                                      caption.compare(caption.size() - exeFile.size() - 1,
                                                      std::string::npos, "|" + exeFile) == 0));
    FUZZ_CHECK(items[i].imageIndex >= 0 && items[i].imageIndex < images.Count());
  }
  // Every icon read goes back, once; each file is asked once per listing.
  FUZZ_CHECK(processes.liveIcons.empty());
  FUZZ_CHECK(processes.strayReleases == 0);
  const std::vector<std::string> reads(processes.iconCountReads.begin() + iconReadsBefore,
                                       processes.iconCountReads.end());
  FUZZ_CHECK(std::set<std::string>(reads.begin(), reads.end()).size() == reads.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader input(data, size);
  const std::uint8_t settings = input.Byte();
  const std::uint32_t refusals = input.U32();

  FakeProcesses processes;
  processes.snapshotFails = (settings & 1) != 0;
  // A few paths, so that several processes share a program file.
  std::vector<std::string> paths{""};
  for (int i = 0; i < 3; ++i) {
    paths.emplace_back(input.Field());
    processes.iconCounts[paths.back()] = input.Byte() % 3;
  }
  while (!input.Empty() && processes.processes.size() < 32) {
    const std::uint8_t kind = input.Byte();
    const auto processId = static_cast<std::uint32_t>(input.Byte() % 8);
    if (kind & 1) {
      processes.windows.emplace_back(0x100 + processes.windows.size(), processId,
                                     std::string(input.Field()), (kind & 2) != 0, (kind & 4) != 0);
    } else {
      processes.processes.emplace_back(processId, std::string(input.Field()),
                                       paths[(kind >> 1) % paths.size()]);
    }
  }

  ImageList images;
  if (settings & 2) images.AttachMirror(std::make_unique<ChoosyImageList>(refusals));
  ComboBoxEx picker("bsSkinComboBoxEx1", nullptr, {20, 330, 265, 20}, "");
  picker.SetImages(&images);
  // A second listing replaces the first, whatever changed in between.
  for (int listing = 0; listing < 2; ++listing) {
    const std::size_t iconReadsBefore = processes.iconCountReads.size();
    GetProcess(processes, picker, images);
    CheckListing(processes, picker, images, iconReadsBefore);
    processes.snapshotFails = (settings & 4) != 0;
    if (settings & 8) std::reverse(processes.processes.begin(), processes.processes.end());
  }
  return 0;
}
