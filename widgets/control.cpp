#include "widgets/control.h"

#include <algorithm>

Control::Control(ControlKind kind, std::string_view name, Control* parent, Bounds bounds,
                 std::string_view text)
    : kind_(kind), name_(name), parent_(parent), bounds_(bounds), text_(text) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  mirror_.reset();
  if (parent_) std::erase(parent_->children_, this);
}

void Control::SetBounds(Bounds bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  Changed(ControlChange::Bounds);
}

void Control::SetLeft(int left) { SetBounds({left, bounds_.top, bounds_.width, bounds_.height}); }
void Control::SetTop(int top) { SetBounds({bounds_.left, top, bounds_.width, bounds_.height}); }
void Control::SetWidth(int width) { SetBounds({bounds_.left, bounds_.top, width, bounds_.height}); }
void Control::SetHeight(int height) {
  SetBounds({bounds_.left, bounds_.top, bounds_.width, height});
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  // Made while still hidden, so that the window shows at once with its controls.
  if (visible) CreateMissingMirrors();
  visible_ = visible;
  Changed(ControlChange::Visible);
}

bool Control::Showing() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void Control::SetText(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  Changed(ControlChange::Text);
}

const FontStyle& Control::Font() const {
  static const FontStyle kDefault;
  for (const Control* c = this; c; c = c->parent_) {
    if (c->font_) return *c->font_;
  }
  return kDefault;
}

void Control::SetFont(FontStyle font) {
  font_ = std::move(font);
  Changed(ControlChange::Style);
}

void Control::SetTextColor(ColorRef color) {
  textColor_ = color;
  Changed(ControlChange::Style);
}

ColorRef Control::BackColor() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (c->backColor_) return *c->backColor_;
  }
  return ColorRef::System(SystemColor::ButtonFace);
}

void Control::SetBackColor(ColorRef color) {
  backColor_ = color;
  Changed(ControlChange::Style);
}

void Control::Changed(ControlChange change) {
  if (mirror_) mirror_->Update(change);
}

void Control::CreateMissingMirrors() {
  if (!mirrors_) return;
  if (!mirror_) {
    if (parent_ && !parent_->mirror_) return;
    mirror_ = mirrors_->CreateMirror(*this);
    if (!mirror_) return;
  }
  // Copied: creating a native window never adds controls, but stay safe.
  const std::vector<Control*> children = children_;
  for (Control* child : children) {
    if (child->visible_) child->CreateMissingMirrors();
  }
}

void AttachMirrors(Control& root, MirrorFactory* factory, NativeWindow when) {
  if (!factory) return;
  const auto attach = [factory](Control& control, const auto& self) -> void {
    control.mirrors_ = factory;
    for (Control* child : control.children_) self(*child, self);
  };
  attach(root, attach);
  if (when == NativeWindow::AtOnce || root.visible_) root.CreateMissingMirrors();
}
