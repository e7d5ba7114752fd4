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

class FormView final : public Window, public ui::View, private Navigable {
 public:
  // The view of `model`, owned by it; its failures go to `log`.
  FormView(ui::Dialog& model, const FormStyle& style, HWND owner, LogSink& log);

  // A control's own handling of a message: its class's procedure. The view replaces each
  // control's procedure by a plain subclass, not a subclass of the common controls, whose every
  // message looks its chain up as a window property: a round trip to the window server under
  // Wine, for each line the log's list box takes.
  static LRESULT ControlDefault(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  ~FormView() override;

  // The view that shows a dialog, or nullptr.
  static FormView* Of(const ui::Dialog& dialog);

  ui::Dialog& Model() const { return model_; }
  Navigator& Keys() { return navigator_; }
  // Shows or hides the window as the model says; a form that is shown is activated and its
  // focused control gets the focus.
  void SyncShown();
  // Runs the modal loop until the model has a modal result (Cancel when the loop ends early),
  // with every other window of the plug-in disabled.
  void RunModal();

  static constexpr UINT kSync = WM_APP + 40;     // wParam: control index, or -1 for the form
  static constexpr UINT kLogWake = WM_APP + 41;  // new log entries to take
  static constexpr UINT kClick = WM_APP + 42;    // wParam: control index

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

  // The keyboard's view of the form (navigator.h).
  ui::Control* ControlOf(HWND hwnd) const override;
  HWND WindowOf(const ui::Control* control) const override;
  const std::vector<ui::Control*>& Controls() const override { return model_.Controls(); }
  // The controls that Tab visits now (the active page's among them).
  std::vector<ui::Control*> TabChain() const override;
  ui::Control* DefaultButton() const override;
  ui::Control* EscapeButton() const override;
  const TabPages& Pages() const override { return pages_; }
  // Makes a page active; with moveFocus the focus goes to its first control (or to the tab
  // control when it has none), else only off a control that the page change hides.
  void SelectPage(int page, bool moveFocus) override;
  void Focus(ui::Control& control) override;
  void PostClick(ui::Control& control) override;

  void Build(HWND owner);
  void CreateItems();
  HWND CreateItem(Item& item);
  HFONT FontFor(const ui::FontStyle& style);
  HWND ParentWindow(const ui::Control& c) const;
  Item* ItemOf(HWND hwnd) const;
  Item* ItemFor(const ui::Control* c) const;
  Item* ItemNamed(const char* name) const;
  // Brings the view of one control up to its model (on the user-interface thread).
  void Apply(Item& item);
  void ApplyState(Item& item);
  void ApplyItems(Item& item);
  void FitToText(Item& item);
  void OnChanged(Item& item);
  // Gives the control the real focus (its model follows through WM_SETFOCUS).
  void Focus(Item& item);
  // Runs a click from the window procedure, after the current message.
  void PostClick(Item& item);
  void Click(Item& item);
  // Moves the real focus to the focused control of the forms, if it is a window of the plug-in.
  void FollowModelFocus() const;

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
bool RegisterFormClasses(WindowClasses& classes);

}  // namespace win32ui
