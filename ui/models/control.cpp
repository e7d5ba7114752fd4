#include "ui/models/control.h"

#include <algorithm>

#include "ui/models/dialog.h"

namespace ui {

using Lock = std::lock_guard<std::recursive_mutex>;

Control::Control(Dialog& owner, const Layout& layout)
    : owner_(owner),
      name_(layout.name),
      kind_(layout.kind),
      parent_(layout.parent),
      bounds_(layout.bounds),
      tabOrder_(layout.tabOrder),
      traits_(layout.traits),
      font_(layout.font),
      caption_(layout.caption) {
  owner_.Register(*this);
}

Control::~Control() {
  owner_.AllForms().ReleaseFocus(*this);
}

std::string Control::Caption() const {
  Lock g(lock_);
  return caption_;
}

void Control::SetCaption(const std::string& caption) {
  Lock g(lock_);
  caption_ = caption;
  Notify(Change::What::Caption, caption);
}

bool Control::Enabled() const {
  Lock g(lock_);
  return enabled_;
}

void Control::SetEnabled(bool on) {
  Lock g(lock_);
  enabled_ = on;
  Notify(Change::What::Enabled);
}

bool Control::Visible() const {
  Lock g(lock_);
  return visible_;
}

void Control::SetVisible(bool on) {
  Lock g(lock_);
  visible_ = on;
  Notify(Change::What::Visible);
}

bool Control::Usable() const {
  if (!Visible() || !Enabled()) return false;
  const Control* p = owner_.Find(parent_);
  for (int depth = 0; p != nullptr && depth < 8; ++depth) {
    if (!p->Visible()) return false;
    p = owner_.Find(p->Parent());
  }
  return true;
}

int Control::Subscribe(Observer observer) {
  Lock g(lock_);
  observers_.emplace_back(nextObserver_, std::move(observer));
  return nextObserver_++;
}

void Control::Unsubscribe(int id) {
  Lock g(lock_);
  for (auto it = observers_.begin(); it != observers_.end(); ++it) {
    if (it->first == id) {
      observers_.erase(it);
      return;
    }
  }
}

void Control::Notify(Change::What what, const std::string& value) const {
  if (observers_.empty()) return;
  Change change{what, value};
  for (const auto& [id, observer] : observers_) observer(*this, change);
}

Edit::Edit(Dialog& owner, const Layout& layout) : Control(owner, layout) {
  text_ = layout.caption;
  SetCaption("");
}

std::string Edit::Text() const {
  Lock g(lock_);
  return text_;
}

void Edit::SetText(const std::string& text) {
  Lock g(lock_);
  text_ = text;
  Notify(Change::What::Text, text);
}

bool CheckBox::Checked() const {
  return checked_;
}

void CheckBox::SetChecked(bool on) {
  Lock g(lock_);
  checked_ = on;
  Notify(Change::What::Checked);
}

void RadioButton::SetOwnState(bool on) {
  CheckBox::SetChecked(on);
}

void RadioButton::SetChecked(bool on) {
  SetOwnState(on);
  if (!on) return;
  for (RadioButton* p : partners_) p->SetOwnState(false);
}

void RadioButton::AddPartner(RadioButton& other) {
  partners_.push_back(&other);
  other.partners_.push_back(this);
}

std::vector<RadioButton*> RadioButton::Group() {
  std::vector<RadioButton*> group = partners_;
  group.push_back(this);
  std::stable_sort(group.begin(), group.end(), [](const RadioButton* a, const RadioButton* b) {
    return a->TabOrder() < b->TabOrder();
  });
  return group;
}

bool RadioButton::IsTabStop() const {
  if (Checked()) return true;
  for (const RadioButton* p : partners_) {
    if (p->Checked()) return false;
  }
  return true;
}

std::vector<std::string> ListModel::Items() const {
  Lock g(lock_);
  return items_;
}

int ListModel::Count() const {
  Lock g(lock_);
  return static_cast<int>(items_.size());
}

std::string ListModel::Item(int index) const {
  Lock g(lock_);
  if (index < 0 || index >= static_cast<int>(items_.size())) return std::string();
  return items_[static_cast<std::size_t>(index)];
}

void ListModel::Add(const std::string& item) {
  Lock g(lock_);
  items_.push_back(item);
  Notify(Change::What::Appended, item);
}

void ListModel::Delete(int index) {
  Lock g(lock_);
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  items_.erase(items_.begin() + index);
  if (selected_ == index) {
    selected_ = -1;
  } else if (selected_ > index) {
    --selected_;
  }
  Notify(Change::What::Items);
}

void ListModel::Clear() {
  SetItems({});
}

void ListModel::SetItems(const std::vector<std::string>& items) {
  Lock g(lock_);
  items_ = items;
  selected_ = -1;
  Notify(Change::What::Items);
}

int ListModel::Selected() const {
  Lock g(lock_);
  return selected_;
}

void ListModel::SetSelected(int index) {
  Lock g(lock_);
  selected_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
  Notify(Change::What::Selection);
}

std::string ListModel::SelectedText() const {
  Lock g(lock_);
  return selected_ >= 0 ? items_[static_cast<std::size_t>(selected_)] : std::string();
}

int ListModel::IndexOf(const std::string& item) const {
  Lock g(lock_);
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == item) return static_cast<int>(i);
  }
  return -1;
}

void ClickAsUser(Control& c) {
  if (c.GetKind() == Kind::CheckBox) {
    auto& box = static_cast<CheckBox&>(c);
    box.SetChecked(!box.Checked());
  } else if (c.GetKind() == Kind::RadioButton) {
    static_cast<RadioButton&>(c).SetChecked(true);
  }
  if (c.OnClick) c.OnClick();
}

}  // namespace ui
