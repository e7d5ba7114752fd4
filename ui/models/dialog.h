#pragma once
// A portable dialog: its name, caption, visibility, modal result and the controls it owns, in
// the order of its layout table. Views and the console face find controls by name here. Every
// dialog belongs to the forms of its plug-in run, which know its activation and its face.

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/models/control.h"
#include "ui/models/forms.h"

namespace ui {

enum class ModalResult { None, OK, Cancel };

// What a key or a pasted text typed into a masked field leaves there, and where the caret stands.
struct Typed {
  std::string text;
  std::size_t caret;
};

class Dialog {
 public:
  Dialog(Forms& forms, std::string name, std::string caption, Bounds bounds);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  const Bounds& GetBounds() const { return bounds_; }
  // The forms this dialog belongs to.
  Forms& AllForms() const { return forms_; }

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

  // Typing into the fields that the dialog masks (those with kOctet), for every face; the
  // dialog that has such fields applies its rule.
  // What typing `typed` (one key, or a pasted text) over the selection [from, to) of the field's
  // text leaves; nullopt when the field stays as it is. Without a rule: nullopt.
  virtual std::optional<Typed> TypeOver(const Edit& field, const std::string& text,
                                        std::size_t from, std::size_t to,
                                        const std::string& typed) const;
  // A dot typed into a field; false when the dialog does not take it (nor does the base).
  virtual bool TypeDot(Edit& field);
  // One key typed at the end of a field (a model keeps no caret), then the key-up handler; a
  // dot goes to TypeDot alone.
  void TypeKey(Edit& field, char key);

  // The face's view of this dialog, or nullptr.
  View* GetView() const { return view_.get(); }
  void SetView(std::unique_ptr<View> view) { view_ = std::move(view); }

  void Register(Control& control);

 protected:
  // Tell the face that the dialog has been built (call at the end of the derived constructor)
  // or is going away (call first in the derived destructor).
  void AnnounceCreated();
  void AnnounceDestroyed();

 private:
  friend class Forms;
  void AddChain(const std::string& parent, const Control* activePage,
                std::vector<Control*>& chain) const;

  Forms& forms_;
  std::string name_;
  std::string caption_;
  Bounds bounds_;
  mutable std::mutex lock_;
  bool shown_ = false;
  bool announced_ = false;
  ModalResult modalResult_ = ModalResult::None;
  std::vector<Control*> controls_;
  Control* focused_ = nullptr;  // under the forms' lock
  std::unique_ptr<View> view_;
};

}  // namespace ui
