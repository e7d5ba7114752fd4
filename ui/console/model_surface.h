#pragma once
// The dialog commands' surface in the native playersim: the dialog models themselves.

#include <functional>
#include <vector>

#include "ui/console/dialog_surface.h"
#include "ui/models/dialog.h"

namespace console {

class ModelSurface : public DialogSurface {
 public:
  using DialogList = std::function<std::vector<ui::Dialog*>()>;
  ModelSurface(DialogList dumpOrder, DialogList lookupOrder);

  std::vector<Handle> DumpOrder() const override;
  std::vector<Handle> LookupOrder() const override;
  std::string DialogName(Handle dialog) const override;
  bool Shown(Handle dialog) const override;
  std::vector<Handle> Controls(Handle dialog) const override;
  Handle Focused() const override;

  std::string Name(Handle control) const override;
  ui::Kind KindOf(Handle control) const override;
  std::string Caption(Handle control) const override;
  std::string Text(Handle edit) const override;
  bool Checked(Handle box) const override;
  std::vector<std::string> Items(Handle list) const override;
  int Selected(Handle list) const override;
  bool Enabled(Handle control) const override;
  bool Visible(Handle control) const override;
  bool Usable(Handle control) const override;
  bool TakesKeys(Handle control) const override;

  void Click(Handle control) override;
  void Press(Handle control) override;
  void Focus(Handle control) override;
  void SetText(Handle edit, const std::string& value) override;
  void SetChecked(Handle box, bool on) override;
  void Select(Handle list, int index) override;
  bool Type(char ch) override;

 private:
  ui::Control* FocusedControl() const;

  DialogList dumpOrder_;
  DialogList lookupOrder_;
};

}  // namespace console
