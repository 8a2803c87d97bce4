#include "widgets/skinned_message.h"

namespace {

constexpr int kWidth = 340;
constexpr int kHeight = 160;
constexpr Rgb kBandBlue{72, 162, 244};

}  // namespace

SkinnedMessage::SkinnedMessage(std::string_view name, IconView::Stock icon, const Form& owner,
                               WindowSystem& windowSystem)
    : windowSystem_(windowSystem),
      form_(name, {0, 0, kWidth, kHeight}, Form::Frame::Tool),
      band_("Band", &form_, {0, 0, kWidth, 6}, false),
      icon_("Icon", &form_, {24, 30, 32, 32}, icon),
      text_("Message", &form_, {72, 34, kWidth - 96, 40}, Label::Sizing::Fixed),
      ok_("OK", &form_, {(kWidth - 80) / 2 - 3, 84, 80, 26}, "OK") {
  form_.SetOwner(&owner);
  form_.SetBackColor(ColorRef::System(SystemColor::Window));
  form_.SetFont({"Tahoma", 12, false});
  band_.SetBackColor(ColorRef::Of(kBandBlue));
  ok_.OnClick = [this] { form_.Hide(); };
  form_.OnClose = [this] { form_.Hide(); };
}

void SkinnedMessage::AttachMirrors(MirrorFactory* mirrors) {
  ::AttachMirrors(form_, mirrors, NativeWindow::WhenFirstShown);
}

void SkinnedMessage::Show(const std::string& caption, const std::string& text) {
  form_.SetText(caption);
  text_.SetText(text);
  const WindowSystem::ScreenSize screen = windowSystem_.PrimaryScreenSize();
  form_.SetLeft((screen.width - kWidth) / 2);
  form_.SetTop((screen.height - kHeight) / 2);
  form_.ShowNormal();
  windowSystem_.RunModal(form_.Handle(), [this] { return form_.Visible(); });
  form_.Hide();
}
