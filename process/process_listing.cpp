#include "process/process_listing.h"

#include <map>
#include <string>

#include "process/process_windows.h"

namespace {

// Holds the icon last read until the next one comes: the image list keeps
// copies, not the icons.
class IconHolder {
 public:
  explicit IconHolder(Processes& processes) : processes_(processes) {}
  IconHolder(const IconHolder&) = delete;
  IconHolder& operator=(const IconHolder&) = delete;
  ~IconHolder() { Reset(0); }
  void Reset(IconHandle icon) {
    if (icon_) processes_.ReleaseIcon(icon_);
    icon_ = icon;
  }
  [[nodiscard]] IconHandle Get() const { return icon_; }

 private:
  Processes& processes_;
  IconHandle icon_ = 0;
};

// The image of the file's first icon, or -1 when it has none.
int AddFirstIcon(Processes& processes, IconHolder& holder, ImageList& images,
                 const std::string& path) {
  if (processes.IconCount(path) == 0) return -1;
  holder.Reset(processes.FirstIcon(path));
  return images.AddIcon(holder.Get());
}

}  // namespace

std::vector<ListedProcess> GetProcess(Processes& processes, ComboBoxEx& picker, ImageList& images) {
  picker.ClearItems();
  // No entry points at them any more.
  images.DropAddedImages();
  std::vector<ListedProcess> listed;
  const std::vector<Processes::SnapshotEntry> snapshot = processes.Snapshot();
  if (snapshot.empty()) return listed;
  // Every start time before the windows and icons: the sooner after the
  // snapshot, the less time an id has to pass to a new process.
  listed.reserve(snapshot.size());
  for (const Processes::SnapshotEntry& entry : snapshot) {
    listed.push_back({entry.processId, processes.StartTime(entry.processId)});
  }
  const ProcessWindows windows(processes.TopLevelWindows());
  IconHolder holder(processes);
  // Per path: the image its first entry got, or -1 when the file gave none.
  std::map<std::string, int> imageOfPath;
  for (const Processes::SnapshotEntry& entry : snapshot) {
    ComboBoxEx::Item item{entry.exeFile, ImageList::kDefaultImage};
    const std::string path = processes.ExecutablePath(entry.processId);
    if (const WindowHandle window = windows.FindProcessWindow(entry.processId)) {
      const std::string title = processes.WindowTitle(window);
      if (!title.empty()) item.caption = title + "|" + item.caption;
    }
    if (!path.empty()) {
      const auto [known, firstOfPath] = imageOfPath.try_emplace(path, -1);
      int image = -1;
      if (firstOfPath) {
        image = known->second = AddFirstIcon(processes, holder, images, path);
      } else if (known->second >= 0) {
        // Every entry has an image of its own, as if its icon had been read again.
        image = images.AddCopy(known->second);
      }
      if (image >= 0) item.imageIndex = image;
    }
    picker.AddItem(std::move(item));
  }
  return listed;
}
