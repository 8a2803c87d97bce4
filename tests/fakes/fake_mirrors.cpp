#include "tests/fakes/fake_mirrors.h"

#include <stdexcept>

#include "widgets/controls.h"
#include "widgets/form.h"

namespace {

class FakeImageListMirror : public ImageListMirror {
 public:
  explicit FakeImageListMirror(FakeMirrorFactory& factory) : factory_(factory) {
    ++factory_.liveImageLists;
    Resize(1);  // the default picture, from the resources
  }
  ~FakeImageListMirror() override {
    Resize(0);
    --factory_.liveImageLists;
  }
  bool AddIcon(IconHandle icon) override {
    if (!icon) return false;
    Resize(count_ + 1);
    return true;
  }
  bool AddCopy(int index) override {
    if (index < 0 || index >= count_) return false;
    Resize(count_ + 1);
    return true;
  }
  void Truncate(int count) override {
    if (count < count_) Resize(count);
  }
  [[nodiscard]] unsigned long long Handle() const override {
    return reinterpret_cast<unsigned long long>(this);
  }

 private:
  void Resize(int count) {
    factory_.liveImages += count - count_;
    count_ = count;
  }
  FakeMirrorFactory& factory_;
  int count_ = 0;
};

class FakeWindowMirror : public ControlMirror {
 public:
  FakeWindowMirror(Control& control, FakeMirrorFactory& factory, WindowHandle handle)
      : control_(control), factory_(factory), handle_(handle) {
    ++factory_.liveWindows;
    ++factory_.windowsCreated;
    ShowImages();
  }
  ~FakeWindowMirror() override { --factory_.liveWindows; }
  void Update(ControlChange change) override {
    if (control_.Name() == factory_.faultyControl) throw std::runtime_error("the window failed");
    ++factory_.nativeChanges;
    if (change == ControlChange::Items) ShowImages();
    if (change == ControlChange::Flash) ++factory_.taskbarFlashes;
    if (change == ControlChange::Visible && control_.Visible() &&
        control_.Kind() == ControlKind::Form &&
        static_cast<Form&>(control_).FrameKind() == Form::Frame::Alert) {
      ++factory_.alertsShown;
      factory_.lastAlertShown = control_.Name();
    }
  }
  [[nodiscard]] WindowHandle Handle() const override { return handle_; }

 private:
  void ShowImages() {
    if (control_.Kind() != ControlKind::ComboBoxEx) return;
    ImageList* images = static_cast<ComboBoxEx&>(control_).Images();
    if (images && !images->Mirror()) {
      images->AttachMirror(std::make_unique<FakeImageListMirror>(factory_));
    }
  }
  Control& control_;
  FakeMirrorFactory& factory_;
  WindowHandle handle_;
};

}  // namespace

std::unique_ptr<ControlMirror> FakeMirrorFactory::CreateMirror(Control& control) {
  return std::make_unique<FakeWindowMirror>(control, *this, nextWindow_++);
}
