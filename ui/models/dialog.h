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
  // Shows the dialog without modality (showing a shown dialog only brings it to the front).
  void Show();
  void Hide();

  // Shows the dialog and runs the face's modal loop until a modal result is set; hides it and
  // returns the result (Cancel when no face runs the loop).
  ModalResult ShowModal();
  ModalResult GetModalResult() const;
  void SetModalResult(ModalResult result);

  const std::vector<Control*>& Controls() const { return controls_; }
  Control* Find(const std::string& name) const;

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
};

// The control that has the keyboard focus (one per process, user-interface thread only), or
// nullptr. MoveFocus runs the Exit handler of the focused control, then the Enter handler of
// the new one.
Control* Focused();
void MoveFocus(Control* to);
// Forgets the focus without running handlers when the control goes away.
void ReleaseFocus(const Control& control);
// Gives the focus back to a control without running handlers, as a window that regains the
// activation does (a modal dialog closing over its owner).
void RestoreFocus(Control* to);

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
