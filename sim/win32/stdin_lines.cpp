// Standard input is read on a thread of its own; each line is posted to a message-only window
// of the main thread, which takes it in its message loop: in Next, or in the message loop of a
// command that runs one (the plug-in's modal IP address dialog).
#include <windows.h>
//
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <deque>
#include <thread>

#include "sim/stdin_lines.h"

namespace sim {

namespace {

constexpr UINT kLine = WM_APP + 10;  // lParam: a std::string the receiver deletes
constexpr UINT kEnd = WM_APP + 11;   // end of input or Ctrl+C
constexpr const char* kInputClass = "PlayerSimInput";

// For the console's control handler, which has no context of its own.
HWND g_input = nullptr;

void PostLine(HWND input, std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  auto* copy = new std::string(std::move(line));
  if (!PostMessageA(input, kLine, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}

// Reads standard input; blocked in a read when the program ends, so it is left running.
void ReadInput(HWND input) {
  HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  std::string pending;
  char buf[4096];
  DWORD n = 0;
  while (ReadFile(in, buf, sizeof buf, &n, nullptr) && n > 0) {
    pending.append(buf, n);
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      PostLine(input, pending.substr(0, end));
      pending.erase(0, end + 1);
    }
  }
  if (!pending.empty()) PostLine(input, pending);
  PostMessageA(input, kEnd, 0, 0);
}

BOOL WINAPI OnConsoleEvent(DWORD) {
  PostMessageA(g_input, kEnd, 0, 0);
  return TRUE;
}

}  // namespace

struct StdinLines::Impl {
  HWND window = nullptr;
  std::deque<std::string> lines;
  bool ended = false;
  CommandLoop* loop = nullptr;  // set while the command loop runs
  bool waiting = false;         // Next waits for a line
  bool reading = false;         // the reader thread runs

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<Impl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr || (msg != kLine && msg != kEnd)) {
      return DefWindowProcA(hwnd, msg, wparam, lparam);
    }
    if (msg == kLine) {
      std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(lparam));
      self->lines.push_back(std::move(*line));
    } else {
      self->ended = true;
    }
    if (self->loop != nullptr && !self->waiting) self->RunNested();
    return 0;
  }

  // Lines that come while a command runs its own message loop are carried out there and then,
  // as the native playersim runs its loop nested; quit or the end of input ends that message
  // loop, and with it the command, so the outer loop can end.
  void RunNested() {
    while (!lines.empty() && !loop->Ending()) {
      std::string line = std::move(lines.front());
      lines.pop_front();
      loop->Dispatch(line);
    }
    if (ended) loop->Quit();
    if (loop->Ending()) PostQuitMessage(0);
  }
};

StdinLines::StdinLines() : impl_(std::make_unique<Impl>()) {
  _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as on the other platforms
  WNDCLASSA wc{};
  wc.lpfnWndProc = &Impl::Proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kInputClass;
  RegisterClassA(&wc);
  impl_->window = CreateWindowExA(0, kInputClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(impl_->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(impl_.get()));
  g_input = impl_->window;
  SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

StdinLines::~StdinLines() {
  SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
  SetWindowLongPtrA(impl_->window, GWLP_USERDATA, 0);
}

bool StdinLines::Next(std::string& line) {
  // The reader starts with the first line that is asked for, not before: a program that ends
  // earlier (on a bad option) has no thread blocked in a read that could hold up its exit.
  if (!impl_->reading) {
    impl_->reading = true;
    std::thread(&ReadInput, impl_->window).detach();
  }
  for (;;) {
    if (!impl_->lines.empty()) {
      line = std::move(impl_->lines.front());
      impl_->lines.pop_front();
      return true;
    }
    if (impl_->ended) return false;
    MSG msg;
    impl_->waiting = true;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got > 0) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    impl_->waiting = false;
    if (got <= 0) return false;
  }
}

void StdinLines::NestInto(CommandLoop* loop) {
  impl_->loop = loop;
}

std::string ArgumentText(const std::string& argument) {
  return argument;
}

}  // namespace sim
