#include "ui/models/dialog.h"

#include <algorithm>

namespace ui {

namespace {

bool TakesFocus(Kind k) {
  return k == Kind::Button || k == Kind::CheckBox || k == Kind::RadioButton || k == Kind::Edit ||
         k == Kind::ComboBox || k == Kind::ListBox || k == Kind::PageControl;
}

}  // namespace

Dialog::Dialog(Forms& forms, std::string name, std::string caption, Bounds bounds)
    : forms_(forms), name_(std::move(name)), caption_(std::move(caption)), bounds_(bounds) {
  forms_.Add(*this);
}

Dialog::~Dialog() {
  forms_.Remove(*this);
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
  forms_.Shown(*this, !was, first);
  if (first != nullptr && first->OnEnter) first->OnEnter();
  if (Face* face = forms_.CurrentFace()) face->Shown(*this);
}

void Dialog::Hide() {
  {
    std::lock_guard<std::mutex> g(lock_);
    shown_ = false;
  }
  forms_.Hidden(*this);
  if (Face* face = forms_.CurrentFace()) face->Shown(*this);
}

ModalResult Dialog::ShowModal() {
  SetModalResult(ModalResult::None);
  Show();
  if (Face* face = forms_.CurrentFace()) face->RunModal(*this);
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
  return forms_.FocusOf(*this);
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

std::optional<Typed> Dialog::TypeOver(const Edit&, const std::string&, std::size_t, std::size_t,
                                      const std::string&) const {
  return std::nullopt;
}

bool Dialog::TypeDot(Edit&) {
  return false;
}

void Dialog::TypeKey(Edit& field, char key) {
  if (key == '.') {
    TypeDot(field);
    return;
  }
  const std::string t = field.Text();
  if (auto typed = TypeOver(field, t, t.size(), t.size(), std::string(1, key))) {
    field.SetText(typed->text);
  }
  if (field.OnKeyUp) field.OnKeyUp();
}

void Dialog::AnnounceCreated() {
  forms_.Created(*this);
}

void Dialog::AnnounceDestroyed() {
  forms_.Destroyed(*this);
}

}  // namespace ui
