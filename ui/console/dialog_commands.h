#pragma once
// The text face of the dialogs: commands that act on the dialogs as a user would (click, focus,
// type, select) and a dump of every dialog and control, on the models or on real windows.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/console/dialog_surface.h"
#include "ui/models/dialog.h"

namespace console {

class DialogCommands {
 public:
  using DialogList = std::function<std::vector<ui::Dialog*>()>;

  // On the dialog models. dumpOrder: the dialogs in the order dump shows them (dialogs that are
  // not there omitted); lookupOrder: the dialogs a bare control name is looked up in.
  DialogCommands(DialogList dumpOrder, DialogList lookupOrder);
  explicit DialogCommands(std::unique_ptr<DialogSurface> surface);
  ~DialogCommands();
  DialogCommands(const DialogCommands&) = delete;
  DialogCommands& operator=(const DialogCommands&) = delete;

  // Carries out one line (in the dialogs' 8-bit code page) when it is a dialog command; false when
  // it is none. A command that fails prints one "ERROR " line and changes nothing.
  bool Handle(const std::string& line);

 private:
  using Target = DialogSurface::Handle;
  Target Resolve(const std::string& name, std::string& error) const;
  Target FindIn(Target dialog, const std::string& control) const;
  bool Click(Target c, std::string& error);
  bool Text(Target c, const std::string& value, std::string& error);
  bool Check(Target c, const std::string& value, std::string& error);
  bool Select(Target c, const std::string& value, std::string& error);
  bool Key(Target c, const std::string& typed, std::string& error);
  void Dump() const;

  std::unique_ptr<DialogSurface> surface_;
};

}  // namespace console
