// The native playersim links the plug-in and shows its dialogs through the console face: the
// dialog commands act on the dialog models, a modal dialog runs the command loop nested, and the
// "LOG " lines come from the configuration dialog's Out model.
#include <memory>

#include "base/text.h"
#include "platform/posix/host_table.h"
#include "sim/plugin_face.h"
#include "sim/state_lines.h"
#include "ui/config_dlg.h"
#include "ui/console/console_output.h"
#include "ui/console/dialog_commands.h"
#include "ui/console/log_printer.h"
#include "ui/console/plugin_dialogs.h"

namespace sim {

struct PluginFace::Impl {
  console::PluginDialogs shown;
  console::DialogCommands dialogs{[this] { return shown.InDumpOrder(); },
                                  [this] { return shown.InLookupOrder(); }};
  ui::LogList* log = nullptr;  // the configuration dialog's, while it is there
  std::unique_ptr<console::LogPrinter> printer;

  void Created(ui::Dialog& d) {
    shown.Add(d);
    if (auto* config = dynamic_cast<TConfigDlg*>(&d)) {
      log = &config->Out;
      printer = std::make_unique<console::LogPrinter>(config->Out);
    }
  }

  void Destroyed(ui::Dialog& d) {
    shown.Remove(d);
    if (dynamic_cast<TConfigDlg*>(&d) != nullptr) {
      printer.reset();
      log = nullptr;
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
  ui::SetFaceHooks(
      {[&loop](ui::Dialog& d) {
         // A modal dialog runs the command loop nested; when the program ends
         // meanwhile, the dialog is cancelled so that its caller can return.
         if (!loop.RunUntil([&d] { return d.GetModalResult() != ui::ModalResult::None; })) {
           d.SetModalResult(ui::ModalResult::Cancel);
         }
       },
       [this](ui::Dialog& d) { impl_->Created(d); }, [this](ui::Dialog& d) { impl_->Destroyed(d); },
       nullptr});
  record.hwndParent = main;
  record.init();
}

void PluginFace::Quit(GeneralPurposePlugin& record) {
  record.quit();
  ui::SetFaceHooks({});
}

}  // namespace sim
