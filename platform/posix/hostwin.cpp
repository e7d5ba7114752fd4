#include <map>
#include <memory>
#include <mutex>
#include <shared_mutex>

#include "platform/posix/host_table.h"

namespace host {

namespace {

struct Entry {
  std::string className;
  std::string title;
  table::Handlers handlers;
  std::mutex lock;  // one message at a time per window
};

std::shared_mutex g_tableLock;
std::map<Window, std::shared_ptr<Entry>> g_windows;
Window g_next = 0x1000;
std::mutex g_boxLock;
std::function<void(const std::string&, const std::string&)> g_messageBox;

std::shared_ptr<Entry> Lookup(Window w) {
  std::shared_lock<std::shared_mutex> guard(g_tableLock);
  auto it = g_windows.find(w);
  return it == g_windows.end() ? nullptr : it->second;
}

std::string Clip(const std::string& s, int maxBytes) {
  if (maxBytes <= 0) return std::string();
  return s.substr(0, static_cast<std::size_t>(maxBytes - 1));
}

}  // namespace

namespace table {

Window Create(const std::string& className, const std::string& title, Handlers handlers) {
  auto e = std::make_shared<Entry>();
  e->className = className;
  e->title = title;
  e->handlers = std::move(handlers);
  std::unique_lock<std::shared_mutex> guard(g_tableLock);
  g_next += 0x10;
  g_windows[g_next] = e;
  return g_next;
}

void Destroy(Window w) {
  std::shared_ptr<Entry> e;
  {
    std::unique_lock<std::shared_mutex> guard(g_tableLock);
    auto it = g_windows.find(w);
    if (it == g_windows.end()) return;
    e = it->second;
    g_windows.erase(it);
  }
  std::lock_guard<std::mutex> wait(e->lock);
}

void SetMessageBoxHandler(std::function<void(const std::string&, const std::string&)> handler) {
  std::lock_guard<std::mutex> guard(g_boxLock);
  g_messageBox = std::move(handler);
}

}  // namespace table

std::intptr_t Send(Window w, std::uint32_t msg, std::uintptr_t wparam, std::intptr_t lparam) {
  auto e = Lookup(w);
  if (!e || !e->handlers.message) return 0;
  std::lock_guard<std::mutex> guard(e->lock);
  return e->handlers.message(msg, wparam, lparam);
}

std::intptr_t SendCopyData(Window w, std::uintptr_t request, const std::string& text) {
  CopyData cds{request, static_cast<std::uint32_t>(text.size() + 1), text.c_str()};
  return Send(w, 74, 0, reinterpret_cast<std::intptr_t>(&cds));
}

Window FindByClass(const std::string& className) {
  std::shared_lock<std::shared_mutex> guard(g_tableLock);
  for (const auto& [w, e] : g_windows) {
    if (e->className == className) return w;
  }
  return kNoWindow;
}

Window FindByTitle(const std::string& title) {
  std::shared_lock<std::shared_mutex> guard(g_tableLock);
  for (const auto& [w, e] : g_windows) {
    if (e->title == title) return w;
  }
  return kNoWindow;
}

std::string GetText(Window w, int maxBytes) {
  auto e = Lookup(w);
  if (!e) return std::string();
  std::lock_guard<std::mutex> guard(e->lock);
  return Clip(e->handlers.text ? e->handlers.text() : e->title, maxBytes);
}

std::string GetItemText(Window w, int id, int maxBytes) {
  auto e = Lookup(w);
  if (!e || !e->handlers.itemText) return std::string();
  std::lock_guard<std::mutex> guard(e->lock);
  std::string out;
  if (!e->handlers.itemText(id, out)) return std::string();
  return Clip(out, maxBytes);
}

void ShowMessageBox(Window, const std::string& text, const std::string& caption) {
  std::function<void(const std::string&, const std::string&)> handler;
  {
    std::lock_guard<std::mutex> guard(g_boxLock);
    handler = g_messageBox;
  }
  if (handler) handler(text, caption);
}

}  // namespace host
