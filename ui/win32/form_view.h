#pragma once
// The native view of one dialog model: a top-level window with one child window per control,
// built from the dialog's layout order. Model changes made on the user-interface thread apply at
// once; changes from other threads arrive by a posted message, so no worker waits for the
// user-interface thread. User input goes into the model and runs its handlers.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ui/models/dialog.h"
#include "ui/models/log_list.h"
#include "ui/win32/window.h"

namespace win32ui {

struct FormStyle {
  const char* className;
  DWORD style;
  DWORD exStyle;
  bool centred;               // else at the dialog's design position
  bool activateOnShow;        // showing the form makes it the active window
  const char* defaultButton;  // pressed by Enter, or nullptr
  const char* cancelButton;   // pressed by the close box (else it hides the form), or nullptr
  bool escapeCancels;         // Esc presses the cancel button
};

class FormView : public Window {
 public:
  FormView(ui::Dialog& model, const FormStyle& style, HWND owner);
  ~FormView() override;

  ui::Dialog& Model() const { return model_; }
  // Shows or hides the window as the model says.
  void SyncShown();
  // Runs the modal loop until the model has a modal result (Cancel when the loop ends early).
  void RunModal(HWND ownerToDisable);
  // Keyboard handling for a message about to be dispatched to one of this form's windows: Tab,
  // Shift+Tab, Enter, Esc and Alt+letter. True when the message was taken.
  bool PreTranslate(const MSG& msg);
  // Moves the real focus to the model's focused control when it is one of this form's.
  void FollowModelFocus();

  static constexpr UINT kSync = WM_APP + 40;     // wParam: control index, or -1 for the form
  static constexpr UINT kLogWake = WM_APP + 41;  // new log entries to take

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  struct Item {
    ui::Control* model = nullptr;
    HWND hwnd = nullptr;
    int index = 0;
    int observer = 0;
    std::atomic<bool> pending{false};
  };

  void Build(HWND owner);
  HWND CreateControl(Item& item);
  HFONT FontFor(const ui::Control& c);
  Item* ItemOf(HWND hwnd) const;
  Item* ItemNamed(const std::string& name) const;
  HWND ParentWindow(const ui::Control& c) const;
  // Brings the view of one control up to its model (on the user-interface thread).
  void Apply(Item& item);
  void ApplyItems(Item& item);
  void OnChanged(Item& item);
  void OnCommand(Item& item, int code);
  void Click(Item& item);
  void SelectPage(int page);
  std::vector<Item*> FocusChain() const;
  void AddFocusable(const std::string& parent, std::vector<Item*>& chain) const;
  bool Mnemonic(char key);
  // The activity log's view (the configuration dialog's Out list box): takes up to max entries
  // in one redraw frame, stopping early once the time is past until; more tells whether
  // entries may still wait.
  std::size_t TakeLog(std::size_t max, std::chrono::steady_clock::time_point until, bool& more);
  // Takes every entry logged so far into the list (bounded).
  // Takes what the log holds until it is all in or the time is up.
  void CatchUpLog(std::chrono::steady_clock::time_point until);
  // Tells whoever watches the list that it will not see `count` entries.
  void ReportSkipped(std::uint64_t count);
  void ClearLog();

  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR data);
  LRESULT OnControlMessage(Item& item, UINT msg, WPARAM wparam, LPARAM lparam);

  ui::Dialog& model_;
  FormStyle style_;
  DWORD thread_;
  std::vector<std::unique_ptr<Item>> items_;
  std::vector<HFONT> fonts_;
  HFONT baseFont_ = nullptr;
  HICON icon_ = nullptr;
  HBITMAP picture_ = nullptr;
  HBRUSH black_ = nullptr;
  std::vector<Item*> pages_;
  int activePage_ = 0;
  int applying_ = 0;  // > 0 while the view is being brought up to the model
  bool following_ = false;
  HWND lastFocus_ = nullptr;
  // Log view.
  ui::LogList* log_ = nullptr;
  Item* out_ = nullptr;
  std::unique_ptr<ui::LogReader> reader_;
  std::atomic<bool> logPending_{false};
  UINT skippedMessage_ = 0;
  UINT catchUpMessage_ = 0;
  UINT pressMessage_ = 0;
};

// Registers the classes of the forms and their containers; false when one fails.
bool RegisterFormClasses();

}  // namespace win32ui
