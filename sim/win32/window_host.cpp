#include <windows.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "sim/window_host.h"

namespace sim {

namespace {

constexpr UINT kCreate = WM_APP + 1;
constexpr UINT kDestroy = WM_APP + 2;
constexpr const char* kItemClass = "VelotamSimItem";

struct Window {
  WindowSpec desc;
  HWND hwnd = nullptr;
};

struct Item {
  Window* owner;
  int id;
};

std::intptr_t AnswerText(const std::string& text, WPARAM wparam, LPARAM lparam, bool lengthOnly) {
  if (lengthOnly) return static_cast<std::intptr_t>(text.size());
  if (wparam == 0) return 0;
  std::size_t n = std::min<std::size_t>(text.size(), wparam - 1);
  char* out = reinterpret_cast<char*>(lparam);
  memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<std::intptr_t>(n);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (w != nullptr) {
    if ((msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH) && w->desc.text) {
      return AnswerText(w->desc.text(), wparam, lparam, msg == WM_GETTEXTLENGTH);
    }
    if ((msg == 1024 || msg == WM_COPYDATA || msg == WM_COMMAND) && w->desc.message) {
      return static_cast<LRESULT>(w->desc.message(msg, static_cast<std::uintptr_t>(wparam),
                                                  static_cast<std::intptr_t>(lparam)));
    }
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

LRESULT CALLBACK ItemProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* item = reinterpret_cast<Item*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (item != nullptr && (msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH) &&
      item->owner->desc.itemText) {
    return AnswerText(item->owner->desc.itemText(item->id), wparam, lparam,
                      msg == WM_GETTEXTLENGTH);
  }
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

void RegisterClassOnce(const std::string& name, WNDPROC proc) {
  static std::mutex lock;
  static std::set<std::string> done;
  std::lock_guard<std::mutex> g(lock);
  if (done.count(name) != 0) return;
  WNDCLASSA wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = name.c_str();
  RegisterClassA(&wc);
  done.insert(name);
}

}  // namespace

struct WindowHost::Impl {
  std::thread thread;
  DWORD threadId = 0;
  std::mutex lock;
  std::condition_variable cv;
  bool ready = false;
  std::map<HWND, std::unique_ptr<Window>> windows;
  std::vector<std::unique_ptr<Item>> items;

  bool ownThread = true;

  struct Task {
    std::function<void()> work;
    bool done = false;
  };

  void Run() {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // creates the thread's queue
    {
      std::lock_guard<std::mutex> g(lock);
      threadId = GetCurrentThreadId();
      ready = true;
    }
    cv.notify_all();
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
      if (msg.hwnd == nullptr && msg.message == kCreate) {
        auto* task = reinterpret_cast<Task*>(msg.lParam);
        task->work();
        std::lock_guard<std::mutex> g(lock);
        task->done = true;
        cv.notify_all();
        continue;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    for (auto& [hwnd, w] : windows) DestroyWindow(hwnd);
    windows.clear();
  }

  // Runs work on the thread that owns the windows and waits for it.
  void OnThread(std::function<void()> work) {
    if (!ownThread) {
      work();
      return;
    }
    Task task{std::move(work)};
    PostThreadMessageA(threadId, kCreate, 0, reinterpret_cast<LPARAM>(&task));
    std::unique_lock<std::mutex> g(lock);
    cv.wait(g, [&] { return task.done; });
  }
};

WindowHost::WindowHost() : WindowHost(Threading::OwnThread) {}

WindowHost::WindowHost(Threading threading) : impl_(std::make_unique<Impl>()) {
  impl_->ownThread = threading == Threading::OwnThread;
  if (!impl_->ownThread) return;
  impl_->thread = std::thread([this] { impl_->Run(); });
  std::unique_lock<std::mutex> g(impl_->lock);
  impl_->cv.wait(g, [this] { return impl_->ready; });
}

WindowHost::~WindowHost() {
  if (!impl_->ownThread) {
    for (auto& [hwnd, w] : impl_->windows) DestroyWindow(hwnd);
    impl_->windows.clear();
    return;
  }
  PostThreadMessageA(impl_->threadId, WM_QUIT, 0, 0);
  impl_->thread.join();
}

host::Window WindowHost::Create(WindowSpec desc) {
  HWND result = nullptr;
  impl_->OnThread([&] {
    RegisterClassOnce(desc.className, &MainProc);
    RegisterClassOnce(kItemClass, &ItemProc);
    auto w = std::make_unique<Window>();
    w->desc = std::move(desc);
    HWND hwnd =
        CreateWindowExA(0, w->desc.className.c_str(), w->desc.title.c_str(), WS_OVERLAPPED, 0, 0,
                        200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w.get()));
    for (int id : w->desc.items) {
      HWND child = CreateWindowExA(0, kItemClass, "", WS_CHILD, 0, 0, 10, 10, hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
      impl_->items.push_back(std::make_unique<Item>(Item{w.get(), id}));
      SetWindowLongPtrA(child, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(impl_->items.back().get()));
    }
    w->hwnd = hwnd;
    result = hwnd;
    impl_->windows[hwnd] = std::move(w);
  });
  return reinterpret_cast<host::Window>(result);
}

void WindowHost::Destroy(host::Window w) {
  impl_->OnThread([&] {
    HWND hwnd = reinterpret_cast<HWND>(w);
    DestroyWindow(hwnd);
    impl_->windows.erase(hwnd);
  });
}

}  // namespace sim
