#include <algorithm>
#include <mutex>

#include "platform/posix/host_table.h"
#include "sim/window_host.h"

namespace sim {

struct WindowHost::Impl {
  std::mutex lock;
  std::vector<host::Window> windows;
};

WindowHost::WindowHost() : impl_(std::make_unique<Impl>()) {}

WindowHost::WindowHost(Threading) : WindowHost() {}

WindowHost::~WindowHost() {
  for (host::Window w : impl_->windows) host::table::Destroy(w);
}

host::Window WindowHost::Create(WindowSpec desc) {
  host::table::Handlers h;
  h.message = desc.message;
  if (desc.text) h.text = desc.text;
  auto items = desc.items;
  auto itemText = desc.itemText;
  h.itemText = [items, itemText](int id, std::string& out) {
    if (std::find(items.begin(), items.end(), id) == items.end() || !itemText) return false;
    out = itemText(id);
    return true;
  };
  host::Window w = host::table::Create(desc.className, desc.title, std::move(h));
  std::lock_guard<std::mutex> g(impl_->lock);
  impl_->windows.push_back(w);
  return w;
}

void WindowHost::Destroy(host::Window w) {
  {
    std::lock_guard<std::mutex> g(impl_->lock);
    auto& v = impl_->windows;
    v.erase(std::remove(v.begin(), v.end(), w), v.end());
  }
  host::table::Destroy(w);
}

}  // namespace sim
