#pragma once
// Host windows seam: how the plug-in reaches the player's windows. On Windows these are real
// windows driven by synchronous window messages; in the native build they live in an
// in-process window table (platform/posix/host_table.h) that playersim and the tests fill.

#include <cstdint>
#include <string>

namespace host {

using Window = std::uintptr_t;  // a window handle, pointer-sized
inline constexpr Window kNoWindow = 0;

// The record that a copy-data message carries, laid out as the platform's.
struct CopyData {
  std::uintptr_t dwData;
  std::uint32_t cbData;
  const void* lpData;
};

// Sends a message synchronously and returns the window's answer; 0 when there is no window.
std::intptr_t Send(Window w, std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam);
// The copy-data message (74) with the request number and the text with its closing zero byte.
std::intptr_t SendCopyData(Window w, std::uintptr_t request, const std::string& text);

// Top-level windows by class name or by title; kNoWindow when there is none.
Window FindByClass(const std::string& className);
Window FindByTitle(const std::string& title);

// The window's text, at most maxBytes - 1 bytes of it.
std::string GetText(Window w, int maxBytes);
// The text of the window's child control with this id, at most maxBytes - 1 bytes.
std::string GetItemText(Window w, int id, int maxBytes);

// A message box with one OK button, owned by the window; returns when it is closed.
void ShowMessageBox(Window owner, const std::string& text, const std::string& caption);

}  // namespace host
