#include "ui/console/model_surface.h"

#include "ui/console/dialog_commands.h"

namespace console {

namespace {

using ui::Kind;

const ui::Dialog& D(DialogSurface::Handle h) {
  return *static_cast<const ui::Dialog*>(h);
}
ui::Control& C(DialogSurface::Handle h) {
  return *const_cast<ui::Control*>(static_cast<const ui::Control*>(h));
}
ui::ItemList& List(DialogSurface::Handle h) {
  return dynamic_cast<ui::ItemList&>(C(h));
}

std::vector<DialogSurface::Handle> Handles(const std::vector<ui::Dialog*>& dialogs) {
  return {dialogs.begin(), dialogs.end()};
}

}  // namespace

DialogCommands::DialogCommands(DialogList dumpOrder, DialogList lookupOrder)
    : DialogCommands(std::make_unique<ModelSurface>(std::move(dumpOrder), std::move(lookupOrder))) {
}

ModelSurface::ModelSurface(DialogList dumpOrder, DialogList lookupOrder)
    : dumpOrder_(std::move(dumpOrder)), lookupOrder_(std::move(lookupOrder)) {}

std::vector<DialogSurface::Handle> ModelSurface::DumpOrder() const {
  return Handles(dumpOrder_());
}
std::vector<DialogSurface::Handle> ModelSurface::LookupOrder() const {
  return Handles(lookupOrder_());
}
std::string ModelSurface::DialogName(Handle dialog) const {
  return D(dialog).Name();
}
bool ModelSurface::Shown(Handle dialog) const {
  return D(dialog).Shown();
}
std::vector<DialogSurface::Handle> ModelSurface::Controls(Handle dialog) const {
  const auto& controls = D(dialog).Controls();
  return {controls.begin(), controls.end()};
}
DialogSurface::Handle ModelSurface::Focused() const {
  return FocusedControl();
}

ui::Control* ModelSurface::FocusedControl() const {
  // The dialogs listed belong to one run's forms, which know the focus.
  const std::vector<ui::Dialog*> dialogs = dumpOrder_();
  return dialogs.empty() ? nullptr : dialogs.front()->AllForms().Focused();
}

std::string ModelSurface::Name(Handle control) const {
  return C(control).Name();
}
Kind ModelSurface::KindOf(Handle control) const {
  return C(control).GetKind();
}
std::string ModelSurface::Caption(Handle control) const {
  return C(control).Caption();
}
std::string ModelSurface::Text(Handle edit) const {
  return static_cast<ui::Edit&>(C(edit)).Text();
}
bool ModelSurface::Checked(Handle box) const {
  return static_cast<ui::CheckBox&>(C(box)).Checked();
}
std::vector<std::string> ModelSurface::Items(Handle list) const {
  return List(list).Items();
}
int ModelSurface::Selected(Handle list) const {
  return List(list).Selected();
}
bool ModelSurface::Enabled(Handle control) const {
  return C(control).Enabled();
}
bool ModelSurface::Visible(Handle control) const {
  return C(control).Visible();
}
bool ModelSurface::Usable(Handle control) const {
  return C(control).Usable();
}
bool ModelSurface::TakesKeys(Handle control) const {
  return C(control).Has(ui::kOctet);
}

void ModelSurface::Click(Handle control) {
  ui::ClickAsUser(C(control));
}
void ModelSurface::Press(Handle control) {
  if (C(control).OnClick) C(control).OnClick();
}
void ModelSurface::Focus(Handle control) {
  C(control).Owner().AllForms().MoveFocus(&C(control));
}
void ModelSurface::SetText(Handle edit, const std::string& value) {
  static_cast<ui::Edit&>(C(edit)).SetText(value);
}
void ModelSurface::SetChecked(Handle box, bool on) {
  static_cast<ui::CheckBox&>(C(box)).SetChecked(on);
}
void ModelSurface::Select(Handle list, int index) {
  List(list).SetSelected(index);
}

bool ModelSurface::Type(char ch) {
  ui::Control* target = FocusedControl();
  if (target == nullptr) return false;
  if (target->Has(ui::kOctet) && target->GetKind() == Kind::Edit) {
    // The field's dialog applies its mask.
    target->Owner().TypeKey(static_cast<ui::Edit&>(*target), ch);
  } else if (target->OnKeyUp) {
    target->OnKeyUp();
  }
  return true;
}

}  // namespace console
