#include "ui/models/dialog.h"

#include <algorithm>

namespace ui {

namespace {

FaceHooks g_hooks;
// The forms in the order of their activation, the active one last; with every form's focused
// control. Handlers never run under it.
std::mutex g_focusLock;
std::vector<Dialog*> g_activation;

using FocusLock = std::lock_guard<std::mutex>;

void Forget(Dialog* dialog) {
  g_activation.erase(std::remove(g_activation.begin(), g_activation.end(), dialog),
                     g_activation.end());
}

void Activate(Dialog* dialog) {
  Forget(dialog);
  g_activation.push_back(dialog);
}

bool TakesFocus(Kind k) {
  return k == Kind::Button || k == Kind::CheckBox || k == Kind::RadioButton || k == Kind::Edit ||
         k == Kind::ComboBox || k == Kind::ListBox || k == Kind::PageControl;
}

}  // namespace

Dialog::Dialog(std::string name, std::string caption, Bounds bounds)
    : name_(std::move(name)), caption_(std::move(caption)), bounds_(bounds) {}

Dialog::~Dialog() {
  FocusLock g(g_focusLock);
  Forget(this);
}

bool Dialog::Shown() const {
  std::lock_guard<std::mutex> g(lock_);
  return shown_;
}

void Dialog::Show() {
  bool was;
  {
    std::lock_guard<std::mutex> g(lock_);
    was = shown_;
    shown_ = true;
  }
  Control* first = nullptr;
  if (!was) {
    std::vector<Control*> chain = TabChain();
    if (!chain.empty()) first = chain.front();
  }
  {
    FocusLock g(g_focusLock);
    Activate(this);
    if (!was) focused_ = first;
  }
  if (first != nullptr && first->OnEnter) first->OnEnter();
  if (g_hooks.shown) g_hooks.shown(*this);
}

void Dialog::Hide() {
  {
    std::lock_guard<std::mutex> g(lock_);
    shown_ = false;
  }
  {
    FocusLock g(g_focusLock);
    Forget(this);
    focused_ = nullptr;
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

Control* Dialog::FocusedControl() const {
  FocusLock g(g_focusLock);
  return focused_;
}

std::vector<Control*> Dialog::TabChain(const Control* activePage) const {
  if (activePage == nullptr) {
    auto page = std::find_if(controls_.begin(), controls_.end(),
                             [](const Control* c) { return c->GetKind() == Kind::TabPage; });
    if (page != controls_.end()) activePage = *page;
  }
  std::vector<Control*> chain;
  AddChain("", activePage, chain);
  return chain;
}

void Dialog::AddChain(const std::string& parent, const Control* activePage,
                      std::vector<Control*>& chain) const {
  std::vector<Control*> children;
  for (Control* c : controls_) {
    if (c->Parent() == parent && c->TabOrder() >= 0) children.push_back(c);
  }
  std::stable_sort(children.begin(), children.end(), [](const Control* a, const Control* b) {
    return a->TabOrder() < b->TabOrder();
  });
  for (Control* c : children) {
    if (!c->Visible() || !c->Enabled()) continue;
    if (c->GetKind() == Kind::Panel) {
      AddChain(c->Name(), activePage, chain);
      continue;
    }
    if (!TakesFocus(c->GetKind())) continue;
    auto* radio = dynamic_cast<const RadioButton*>(c);
    if (radio != nullptr && !radio->IsTabStop()) continue;
    chain.push_back(c);
    if (c->GetKind() == Kind::PageControl && activePage != nullptr &&
        activePage->Parent() == c->Name()) {
      AddChain(activePage->Name(), activePage, chain);
    }
  }
}

void Dialog::AnnounceCreated() {
  if (g_hooks.created) g_hooks.created(*this);
}

void Dialog::AnnounceDestroyed() {
  if (g_hooks.destroyed) g_hooks.destroyed(*this);
}

Control* Focused() {
  FocusLock g(g_focusLock);
  return g_activation.empty() ? nullptr : g_activation.back()->focused_;
}

void MoveFocus(Control* to) {
  Control* from = nullptr;
  {
    FocusLock g(g_focusLock);
    Dialog* form = to != nullptr ? &to->Owner() : nullptr;
    if (form == nullptr && !g_activation.empty()) form = g_activation.back();
    if (form == nullptr) return;
    if (to != nullptr) Activate(form);
    from = form->focused_;
    if (from == to) return;
  }
  // The Exit handler may show another form (the restart offer), which then is the active one.
  if (from != nullptr && from->OnExit) from->OnExit();
  {
    FocusLock g(g_focusLock);
    (to != nullptr ? to->Owner() : from->Owner()).focused_ = to;
  }
  if (to != nullptr && to->OnEnter) to->OnEnter();
}

void ReleaseFocus(const Control& control) {
  FocusLock g(g_focusLock);
  Dialog& form = control.Owner();
  if (form.focused_ == &control) form.focused_ = nullptr;
}

void SetFaceHooks(FaceHooks hooks) {
  g_hooks = std::move(hooks);
}

}  // namespace ui
