// The native playersim links the plug-in and shows its dialogs through the console face: the
// dialog commands act on the dialog models, a modal dialog runs the command loop nested, and the
// "LOG " lines come from the configuration dialog's Out model.
#include <memory>

#include "base/text.h"
#include "platform/posix/host_table.h"
#include "plugin/interface.h"
#include "sim/plugin_face.h"
#include "sim/state_lines.h"
#include "ui/config_dlg.h"
#include "ui/console/console_output.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/log_printer.h"
#include "ui/console/plugin_dialogs.h"

namespace sim {

struct PluginFace::Impl final : ui::Face {
  CommandLoop* loop = nullptr;  // the one that runs the plug-in, from init on
  // The running plug-in's forms, while its dialogs are there.
  ui::Forms* forms = nullptr;
  console::PluginDialogs shown;
  console::DialogCommands dialogs{[this] { return shown.InDumpOrder(); },
                                  [this] { return shown.InLookupOrder(); }};
  ui::LogList* log = nullptr;  // the configuration dialog's, while it is there
  std::unique_ptr<console::LogPrinter> printer;

  void Created(ui::Dialog& d) override {
    if (auto* config = dynamic_cast<TConfigDlg*>(&d)) {
      log = &config->Out;
      // The face comes after init: what init logged is printed first.
      printer = std::make_unique<console::LogPrinter>(config->Out, ui::LogReader::Start::WithShown);
    }
  }

  void Destroyed(ui::Dialog& d) override {
    if (dynamic_cast<TConfigDlg*>(&d) != nullptr) {
      printer.reset();
      log = nullptr;
      // The dialogs go with the plug-in, the configuration dialog first: nothing is left to ask.
      shown.Attach(nullptr);
      forms = nullptr;
    }
  }

  void Shown(ui::Dialog&) override {}

  void RunModal(ui::Dialog& d) override {
    // A modal dialog runs the command loop nested; when the program ends meanwhile, the dialog
    // is cancelled so that its caller can return.
    if (loop == nullptr ||
        !loop->RunUntil([&d] { return d.GetModalResult() != ui::ModalResult::None; })) {
      d.SetModalResult(ui::ModalResult::Cancel);
    }
  }
};

PluginFace::PluginFace() : impl_(std::make_unique<Impl>()) {}

PluginFace::~PluginFace() = default;

GeneralPurposePlugin* PluginFace::Load(const std::string&, std::string&) {
  return winampGetGeneralPurposePlugin();
}

void PluginFace::AddCommands(CommandLoop& loop) {
  loop.AddHandler([&loop, this](const std::string& line) {
    if (line != "log") return false;
    std::vector<std::string> entries;
    if (impl_->log != nullptr) entries = impl_->log->Items();
    for (const std::string& l : LogDumpLines(entries)) loop.Print(l);
    return true;
  });
  loop.AddHandler([this](const std::string& line) { return impl_->dialogs.Handle(line); });
  host::table::SetMessageBoxHandler([](const std::string& t, const std::string& c) {
    console::PrintLine("MSGBOX " + text::EscapeLine(c) + ": " + text::EscapeLine(t));
  });
}

void PluginFace::Init(GeneralPurposePlugin& record, host::Window main, CommandLoop& loop) {
  impl_->loop = &loop;
  record.hwndParent = main;
  record.init();
  if (PluginInterface == nullptr) return;
  // The console face shows the dialogs that init has built, and those built later.
  impl_->forms = &PluginInterface->Dialogs().Forms();
  impl_->shown.Attach(impl_->forms);
  impl_->forms->SetFace(impl_.get());
}

void PluginFace::Quit(GeneralPurposePlugin& record) {
  record.quit();
  // Dialogs that quit leaves to a worker that did not end no longer show through this face.
  if (impl_->forms != nullptr) impl_->forms->SetFace(nullptr);
  impl_->forms = nullptr;
  impl_->shown.Attach(nullptr);
  impl_->loop = nullptr;
}

}  // namespace sim
