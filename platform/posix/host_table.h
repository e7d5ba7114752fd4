#pragma once
// The native build's window table: in-process stand-ins for the player's windows. A send runs
// the window's handler under that window's lock, so messages to one window are carried out
// one at a time, as the player's user-interface thread would.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/hostwin.h"

namespace host::table {

struct Handlers {
  // Answers a message; the result is the send's result.
  std::function<std::intptr_t(std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam)>
      message;
  // The window's text (its title); empty when not set.
  std::function<std::string()> text;
  // The text of a child control; returns false when the window has no such control.
  std::function<bool(int id, std::string& out)> itemText;
};

// Adds a top-level window and returns its handle (never kNoWindow).
Window Create(const std::string& className, const std::string& title, Handlers handlers);
// Removes the window; waits until a send that runs its handler has finished.
void Destroy(Window w);

// Who shows message boxes in the native build (playersim prints them); none: ignored.
void SetMessageBoxHandler(std::function<void(const std::string& text, const std::string& caption)>);

}  // namespace host::table
