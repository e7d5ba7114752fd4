// playersim: a stand-in for the media player. It loads the plug-in through its record the way
// the player does, answers the player's window messages and takes commands on standard input.
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include "base/text.h"
#include "platform/files.h"
#include "platform/posix/host_table.h"
#include "plugin/record.h"
#include "sim/window_host.h"
#include "ui/config_dlg.h"
#include "ui/console/console_output.h"
#include "ui/console/log_printer.h"

namespace {

struct Options {
  std::string dir = ".";
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--dir" && i + 1 < argc) {
      o.dir = argv[++i];
    } else {
      console::PrintLine("ERROR unknown option " + a);
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return 2;

  // SIGINT and SIGTERM are read from a descriptor by the main loop; every thread inherits the
  // blocked mask.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  sigdelset(&signals, SIGPIPE);
  int sigfd = signalfd(-1, &signals, SFD_CLOEXEC);

  std::string dir = options.dir;
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += "\\";
  files::MakeFolder(dir + "Plugins");
  const std::string iniPath = dir + "Winamp.ini";

  sim::WindowHost windows;
  sim::WindowSpec mainSpec;
  mainSpec.className = "PlayerSimMain";
  mainSpec.title = "Winamp";
  mainSpec.message = [&iniPath](std::uint32_t msg, std::uintptr_t, std::intptr_t lparam) {
    if (msg == 1024 && lparam == 334) return reinterpret_cast<std::intptr_t>(iniPath.c_str());
    return std::intptr_t{0};
  };
  host::Window mainWindow = windows.Create(mainSpec);
  host::table::SetMessageBoxHandler([](const std::string& t, const std::string& c) {
    console::PrintLine("MSGBOX " + text::EscapeLine(c) + ": " + text::EscapeLine(t));
  });

  std::unique_ptr<console::LogPrinter> printer;
  ui::SetFaceHooks({nullptr,
                    [&printer](ui::Dialog& d) {
                      if (&d == ConfigDlg)
                        printer = std::make_unique<console::LogPrinter>(ConfigDlg->Out);
                    },
                    [&printer](ui::Dialog& d) {
                      if (&d == ConfigDlg) printer.reset();
                    }});

  GeneralPurposePlugin* record = winampGetGeneralPurposePlugin();
  record->hwndParent = mainWindow;
  record->init();
  if (ConfigDlg != nullptr) ConfigDlg->StartBtnClick();  // provisional until settings exist

  std::string pending;
  bool running = true;
  while (running) {
    pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {sigfd, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents & POLLIN) break;
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
      char buf[4096];
      ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
      if (n <= 0) break;
      pending.append(buf, static_cast<std::size_t>(n));
      std::size_t p;
      while (running && (p = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, p);
        pending.erase(0, p + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "quit") {
          running = false;
        } else if (line == "config") {
          record->config();
        } else {
          console::PrintLine("ERROR unknown command " + text::EscapeLine(line));
        }
      }
    }
  }
  record->quit();
  return 0;
}
