#pragma once
// The native view of one dialog model: a top-level window with one child window per control,
// built from the dialog's layout order. Model changes made on the user-interface thread apply at
// once; changes from other threads arrive by a posted message, so no worker waits for the
// user-interface thread. User input goes into the model and runs its handlers.
#include <windows.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/models/dialog.h"
#include "ui/win32/gdi.h"
#include "ui/win32/log_view.h"
#include "ui/win32/navigator.h"
#include "ui/win32/tab_pages.h"
#include "ui/win32/window.h"

namespace win32ui {

struct FormStyle {
  const char* className;
  DWORD style;
  DWORD exStyle;
  bool centred;               // else at the dialog's design position
  const char* defaultButton;  // pressed by Enter, or nullptr
  const char* cancelButton;   // pressed by the close box (else it hides the form), or nullptr
  bool escapeCancels;         // Esc presses the cancel button
};

class FormView : public Window {
 public:
  struct Item {
    ui::Control* model = nullptr;
    HWND hwnd = nullptr;
    int index = 0;
    int observer = 0;
    std::atomic<bool> pending{false};
  };

  FormView(ui::Dialog& model, const FormStyle& style, HWND owner);

  // A control's own handling of a message: its class's procedure. The view replaces each
  // control's procedure by a plain subclass, not a subclass of the common controls, whose every
  // message looks its chain up as a window property: a round trip to the window server under
  // Wine, for each line the log's list box takes.
  static LRESULT ControlDefault(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  ~FormView() override;

  ui::Dialog& Model() const { return model_; }
  const FormStyle& Style() const { return style_; }
  Navigator& Keys() { return navigator_; }
  // Shows or hides the window as the model says; a form that is shown is activated and its
  // focused control gets the focus.
  void SyncShown();
  // Runs the modal loop until the model has a modal result (Cancel when the loop ends early),
  // with every other window of the plug-in disabled.
  void RunModal();

  Item* ItemOf(HWND hwnd) const;
  Item* ItemFor(const ui::Control* c) const;
  Item* ItemNamed(const char* name) const;
  TabPages& Pages() { return pages_; }
  // The controls that Tab visits now (the active page's among them).
  std::vector<ui::Control*> TabChain() const;
  // Makes a page active; with moveFocus the focus goes to its first control (or to the tab
  // control when it has none), else only off a control that the page change hides.
  void SelectPage(int page, bool moveFocus);
  // Gives the control the real focus (its model follows through WM_SETFOCUS).
  void Focus(Item& item);
  // Runs a click from the window procedure, after the current message: a key handled in a
  // message hook must not run a handler's modal loop inside the hook.
  void PostClick(Item& item);
  // Moves the real focus to the model's focused control, if it is a window of the plug-in.
  static void FollowModelFocus();

  static constexpr UINT kSync = WM_APP + 40;     // wParam: control index, or -1 for the form
  static constexpr UINT kLogWake = WM_APP + 41;  // new log entries to take
  static constexpr UINT kClick = WM_APP + 42;    // wParam: control index

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void Build(HWND owner);
  void CreateItems();
  HWND CreateItem(Item& item);
  HFONT FontFor(const ui::FontStyle& style);
  HWND ParentWindow(const ui::Control& c) const;
  // Brings the view of one control up to its model (on the user-interface thread).
  void Apply(Item& item);
  void ApplyState(Item& item);
  void ApplyItems(Item& item);
  void FitToText(Item& item);
  void OnChanged(Item& item);
  void Click(Item& item);

  // Messages (form_messages.cpp).
  LRESULT OnSync(WPARAM wparam);
  void OnCommand(Item& item, int code);
  LRESULT OnColor(UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT OnDrawItem(const DRAWITEMSTRUCT& draw);
  void OnActivate();
  void OnClose();
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  LRESULT OnControlMessage(Item& item, UINT msg, WPARAM wparam, LPARAM lparam);
  bool OnOctetInput(Item& item, const std::string& typed);
  LRESULT OnSetFocus(Item& item, UINT msg, WPARAM wparam, LPARAM lparam);

  ui::Dialog& model_;
  FormStyle style_;
  DWORD thread_;
  std::vector<std::unique_ptr<Item>> items_;
  std::map<std::string, Font> fonts_;  // by face, height and weight
  HFONT baseFont_ = nullptr;
  Icon icon_;
  Bitmap picture_;
  TabPages pages_;
  Navigator navigator_;
  int applying_ = 0;  // > 0 while the view is being brought up to the model
  Item* out_ = nullptr;
  std::unique_ptr<LogView> log_;
  UINT catchUpMessage_ = 0;
  UINT pressMessage_ = 0;
};

// Registers the classes of the forms and their containers; false when one fails.
bool RegisterFormClasses();

}  // namespace win32ui
