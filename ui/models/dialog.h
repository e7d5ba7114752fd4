#pragma once
// A portable dialog: its name, caption, visibility, modal result and the controls it owns, in
// the order of its layout table. Views and the console face find controls by name here.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ui/models/control.h"

namespace ui {

enum class ModalResult { None, OK, Cancel };

class Dialog {
 public:
  Dialog(std::string name, std::string caption, Bounds bounds);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  const Bounds& GetBounds() const { return bounds_; }

  bool Shown() const;
  // Shows the dialog without modality and makes it the active form; a form that was hidden
  // gets its focus on the first control of its tab chain (showing a shown dialog only brings it
  // to the front).
  void Show();
  // Hides the dialog; it gives up its focus (no Exit handler runs: the form goes, not the focus
  // within it) and the form activated before it becomes the active one again.
  void Hide();

  // Shows the dialog and runs the face's modal loop until a modal result is set; hides it and
  // returns the result (Cancel when no face runs the loop).
  ModalResult ShowModal();
  ModalResult GetModalResult() const;
  void SetModalResult(ModalResult result);

  const std::vector<Control*>& Controls() const { return controls_; }
  Control* Find(const std::string& name) const;

  // The control that has the focus within this form, or nullptr. It keeps it while another
  // form is active, and has it again when this form is activated.
  Control* FocusedControl() const;
  // The controls that Tab visits, in order: the form's controls by tab order, those inside a
  // panel in its place, and after a page control the controls of its active page (activePage,
  // or the first page when null); hidden and disabled controls, controls that take no focus and
  // the unchecked buttons of a radio group with a checked one are left out.
  std::vector<Control*> TabChain(const Control* activePage = nullptr) const;

  void Register(Control& control);

 protected:
  // Tell the face that the dialog has been built (call at the end of the derived constructor)
  // or is going away (call first in the derived destructor).
  void AnnounceCreated();
  void AnnounceDestroyed();

 private:
  std::string name_;
  std::string caption_;
  Bounds bounds_;
  mutable std::mutex lock_;
  bool shown_ = false;
  ModalResult modalResult_ = ModalResult::None;
  std::vector<Control*> controls_;
  Control* focused_ = nullptr;  // under the focus lock (dialog.cpp)

  friend Control* Focused();
  friend void MoveFocus(Control* to);
  friend void ReleaseFocus(const Control& control);
  void AddChain(const std::string& parent, const Control* activePage,
                std::vector<Control*>& chain) const;
};

// The control that has the keyboard focus: the focused control of the active form (the one
// last shown or focused into and still there), or nullptr. User-interface thread only.
Control* Focused();
// Moves the focus within the form of `to` and makes that form the active one. The Exit handler
// of the form's focused control runs, then the Enter handler of `to`; focusing the control that
// already has the form's focus runs neither, so a form that is activated again runs no handler.
// nullptr takes the focus from the active form's control (its Exit handler runs).
void MoveFocus(Control* to);
// Forgets the focus without running handlers when the control goes away.
void ReleaseFocus(const Control& control);

// Hooks for the face in use (the console face or the native views), set before init.
struct FaceHooks {
  // Runs until dialog.GetModalResult() is not None.
  std::function<void(Dialog& dialog)> runModal;
  // Called when a dialog has been built (before it is used) and when it goes away.
  std::function<void(Dialog& dialog)> created;
  std::function<void(Dialog& dialog)> destroyed;
  // Called after Show or Hide (on the calling thread; the dialog's state is already changed).
  std::function<void(Dialog& dialog)> shown;
};
void SetFaceHooks(FaceHooks hooks);

}  // namespace ui
