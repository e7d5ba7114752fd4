#include "ui/models/forms.h"

#include <algorithm>

#include "ui/models/dialog.h"

namespace ui {

using FocusLock = std::lock_guard<std::mutex>;

Forms::~Forms() {
  // The owner lets its dialogs go first; a face still attached has nothing left to show.
  face_ = nullptr;
}

Dialog* Forms::Named(const std::string& name) const {
  for (Dialog* d : dialogs_) {
    if (d->Name() == name) return d;
  }
  return nullptr;
}

void Forms::Add(Dialog& dialog) {
  dialogs_.push_back(&dialog);
}

void Forms::Remove(Dialog& dialog) {
  std::erase(dialogs_, &dialog);
  FocusLock g(lock_);
  Forget(&dialog);
}

void Forms::Created(Dialog& dialog) {
  dialog.announced_ = true;
  if (face_ != nullptr) face_->Created(dialog);
}

void Forms::Destroyed(Dialog& dialog) {
  if (!dialog.announced_) return;
  dialog.announced_ = false;
  if (face_ != nullptr) face_->Destroyed(dialog);
  // No view outlives the controls it shows.
  dialog.view_.reset();
}

void Forms::SetFace(Face* face) {
  if (face == face_) return;
  if (face_ != nullptr) {
    for (Dialog* d : dialogs_) {
      if (!d->announced_) continue;
      face_->Destroyed(*d);
      d->view_.reset();
    }
  }
  face_ = face;
  if (face_ != nullptr) {
    for (Dialog* d : dialogs_) {
      if (d->announced_) face_->Created(*d);
    }
  }
}

void Forms::Activate(Dialog* dialog) {
  Forget(dialog);
  activation_.push_back(dialog);
}

void Forms::Forget(Dialog* dialog) {
  std::erase(activation_, dialog);
}

void Forms::Shown(Dialog& dialog, bool wasHidden, Control* first) {
  FocusLock g(lock_);
  Activate(&dialog);
  if (wasHidden) dialog.focused_ = first;
}

void Forms::Hidden(Dialog& dialog) {
  FocusLock g(lock_);
  Forget(&dialog);
  dialog.focused_ = nullptr;
}

Control* Forms::FocusOf(const Dialog& dialog) const {
  FocusLock g(lock_);
  return dialog.focused_;
}

Control* Forms::Focused() const {
  FocusLock g(lock_);
  return activation_.empty() ? nullptr : activation_.back()->focused_;
}

void Forms::MoveFocus(Control* to) {
  Control* from = nullptr;
  {
    FocusLock g(lock_);
    Dialog* form = to != nullptr ? &to->Owner() : nullptr;
    if (form == nullptr && !activation_.empty()) form = activation_.back();
    if (form == nullptr) return;
    if (to != nullptr) Activate(form);
    from = form->focused_;
    if (from == to) return;
  }
  // The Exit handler may show another form (the restart offer), which then is the active one.
  if (from != nullptr && from->OnExit) from->OnExit();
  {
    FocusLock g(lock_);
    (to != nullptr ? to->Owner() : from->Owner()).focused_ = to;
  }
  if (to != nullptr && to->OnEnter) to->OnEnter();
}

void Forms::ReleaseFocus(const Control& control) {
  FocusLock g(lock_);
  Dialog& form = control.Owner();
  if (form.focused_ == &control) form.focused_ = nullptr;
}

}  // namespace ui
