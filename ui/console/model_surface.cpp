#include "ui/console/model_surface.h"

#include "ui/console/dialog_commands.h"
#include "ui/ip_address_dlg.h"

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
  return ui::Focused();
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
  ui::MoveFocus(&C(control));
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
  ui::Control* target = ui::Focused();
  if (target == nullptr) return false;
  auto* form = dynamic_cast<TOKBottomDlg*>(&target->Owner());
  if (form != nullptr && target->Has(ui::kOctet)) {
    form->TypeKey(static_cast<ui::Edit&>(*target), ch);
  } else if (target->OnKeyUp) {
    target->OnKeyUp();
  }
  return true;
}

}  // namespace console
