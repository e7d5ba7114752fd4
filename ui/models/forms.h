#pragma once
// The forms of one plug-in run: which dialogs exist, in what order they were activated (with
// each one's focused control), and the face that shows them. Its owner (the dialog set, or a
// test's fixture) builds it before its dialogs and lets it go after them.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

class Control;
class Dialog;

// What a face attaches to a dialog to show it; owned by the dialog and gone before its controls.
class View {
 public:
  virtual ~View() = default;
};

// The face that shows the forms (the console face or the native views). User-interface thread.
class Face {
 public:
  virtual ~Face() = default;
  // A dialog has been built (before it is used), or is going away (its controls still there).
  virtual void Created(Dialog& dialog) = 0;
  virtual void Destroyed(Dialog& dialog) = 0;
  // After Show or Hide, on the calling thread; the dialog's state is already changed.
  virtual void Shown(Dialog& dialog) = 0;
  // Runs until dialog.GetModalResult() is not None.
  virtual void RunModal(Dialog& dialog) = 0;
};

class Forms {
 public:
  Forms() = default;
  ~Forms();
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  // Every dialog that exists, in the order of its creation (user-interface thread).
  const std::vector<Dialog*>& Dialogs() const { return dialogs_; }
  Dialog* Named(const std::string& name) const;

  // The control that has the keyboard focus: the focused control of the active form (the one
  // last shown or focused into and still there), or nullptr.
  Control* Focused() const;
  // Moves the focus within the form of `to` and makes that form the active one. The Exit
  // handler of the form's focused control runs, then the Enter handler of `to`; focusing the
  // control that already has the form's focus runs neither, so a form that is activated again
  // runs no handler. nullptr takes the focus from the active form's control (its Exit handler
  // runs).
  void MoveFocus(Control* to);
  // Forgets the focus without running handlers when the control goes away.
  void ReleaseFocus(const Control& control);

  // Attaches the face: it is told of every dialog that exists now and of each one built later.
  // nullptr detaches it; it is told that every dialog goes, and the dialogs' views go.
  void SetFace(Face* face);
  Face* CurrentFace() const { return face_; }

 private:
  friend class Dialog;
  void Add(Dialog& dialog);
  void Remove(Dialog& dialog);
  void Created(Dialog& dialog);
  void Destroyed(Dialog& dialog);
  // A dialog shown is the active form; one that was hidden has `first` as its focus.
  void Shown(Dialog& dialog, bool wasHidden, Control* first);
  void Hidden(Dialog& dialog);
  Control* FocusOf(const Dialog& dialog) const;
  // Call with lock_ held.
  void Activate(Dialog* dialog);
  void Forget(Dialog* dialog);

  std::vector<Dialog*> dialogs_;
  // The forms in the order of their activation, the active one last; with every form's focused
  // control. Handlers never run under it.
  mutable std::mutex lock_;
  std::vector<Dialog*> activation_;
  Face* face_ = nullptr;
};

}  // namespace ui
