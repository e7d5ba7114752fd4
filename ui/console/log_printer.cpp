#include "ui/console/log_printer.h"

#include "base/text.h"
#include "ui/console/console_output.h"

namespace console {

LogPrinter::LogPrinter(ui::ListModel& log) : log_(log) {
  // Runs under the list's lock, so the lines come out in the list's order.
  subscription_ = log_.Subscribe([](const ui::Control&, const ui::Change& change) {
    if (change.what == ui::Change::What::Appended)
      PrintLine("LOG " + text::EscapeLine(change.value));
  });
}

LogPrinter::~LogPrinter() {
  log_.Unsubscribe(subscription_);
}

}  // namespace console
