#pragma once
// Stand-ins for the player's windows. In the native build they live in the in-process window
// table; on Windows they are real windows owned by a thread of their own that runs a message
// loop, so that a send from any other thread is carried out there, one message at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/hostwin.h"

namespace sim {

struct WindowSpec {
  std::string className;
  std::string title;  // the title that finding by title compares with
  // Answers the user message (1024), the copy-data message (74) and the command message (273).
  std::function<std::intptr_t(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam)>
      message;
  // The text a window-text read returns; when empty, the title.
  std::function<std::string()> text;
  // Child controls by id, and their texts.
  std::vector<int> items;
  std::function<std::string(int id)> itemText;
};

class WindowHost {
 public:
  // Who owns the windows on Windows: a thread of the host's own (the default), or the thread
  // that creates the host, which must then run a message loop. The native build ignores it.
  enum class Threading { OwnThread, CallingThread };

  WindowHost();
  explicit WindowHost(Threading threading);
  ~WindowHost();  // destroys every window it created
  WindowHost(const WindowHost&) = delete;
  WindowHost& operator=(const WindowHost&) = delete;

  host::Window Create(WindowSpec desc);
  void Destroy(host::Window w);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace sim
