#include "ui/models/dialog.h"

#include <atomic>

namespace ui {

namespace {
std::atomic<Control*> g_focused{nullptr};
FaceHooks g_hooks;
}  // namespace

Dialog::Dialog(std::string name, std::string caption, Bounds bounds)
    : name_(std::move(name)), caption_(std::move(caption)), bounds_(bounds) {}

Dialog::~Dialog() = default;

bool Dialog::Shown() const {
  std::lock_guard<std::mutex> g(lock_);
  return shown_;
}

void Dialog::Show() {
  {
    std::lock_guard<std::mutex> g(lock_);
    shown_ = true;
  }
  if (g_hooks.shown) g_hooks.shown(*this);
}

void Dialog::Hide() {
  {
    std::lock_guard<std::mutex> g(lock_);
    shown_ = false;
  }
  if (g_hooks.shown) g_hooks.shown(*this);
}

ModalResult Dialog::ShowModal() {
  SetModalResult(ModalResult::None);
  Show();
  if (g_hooks.runModal) g_hooks.runModal(*this);
  Hide();
  ModalResult r = GetModalResult();
  return r == ModalResult::None ? ModalResult::Cancel : r;
}

ModalResult Dialog::GetModalResult() const {
  std::lock_guard<std::mutex> g(lock_);
  return modalResult_;
}

void Dialog::SetModalResult(ModalResult result) {
  std::lock_guard<std::mutex> g(lock_);
  modalResult_ = result;
}

Control* Dialog::Find(const std::string& name) const {
  for (Control* c : controls_) {
    if (c->Name() == name) return c;
  }
  return nullptr;
}

void Dialog::Register(Control& control) {
  controls_.push_back(&control);
}

void Dialog::AnnounceCreated() {
  if (g_hooks.created) g_hooks.created(*this);
}

void Dialog::AnnounceDestroyed() {
  if (g_hooks.destroyed) g_hooks.destroyed(*this);
}

Control* Focused() {
  return g_focused.load();
}

void MoveFocus(Control* to) {
  Control* from = g_focused.load();
  if (from != nullptr && from->OnExit) from->OnExit();
  g_focused.store(to);
  if (to != nullptr && to->OnEnter) to->OnEnter();
}

void ReleaseFocus(const Control& control) {
  Control* expected = const_cast<Control*>(&control);
  g_focused.compare_exchange_strong(expected, nullptr);
}

void RestoreFocus(Control* to) {
  g_focused.store(to);
}

void SetFaceHooks(FaceHooks hooks) {
  g_hooks = std::move(hooks);
}

}  // namespace ui
