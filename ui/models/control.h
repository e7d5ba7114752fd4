#pragma once
// Control models: the portable state of one dialog control behind its own lock. Every read
// returns one consistent value, so worker threads can read settings while the user-interface
// thread edits them. Views (native windows, the console face) render a model and feed input
// back; they learn of changes through Subscribe.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace ui {

class Dialog;

enum class Kind {
  Button,
  CheckBox,
  RadioButton,
  Edit,
  ComboBox,
  ListBox,
  Label,
  PageControl,
  TabPage,
  Bevel,
  Panel,
  Image,
};

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// What a face needs to know of a control beyond its kind: data in the layout table, so that a
// renamed control keeps its look.
enum Trait : unsigned {
  kPassword = 1u << 0,  // shows "*" for every character
  kCentred = 1u << 1,   // the caption is centred
  kOctet = 1u << 2,     // a three-digit field of an address (the IP address dialog's rule)
  kBlack = 1u << 3,     // a black container whose labels are green on black
  kAutoSize = 1u << 4,  // the size follows the caption
};

// A font of its own; a null face means the form's font.
struct FontStyle {
  const char* face = nullptr;
  int height = 0;
  bool bold = false;
};

// Design-time description of a control: the one table from which dialogs and views are built.
struct Layout {
  const char* name;
  Kind kind;
  const char* parent;  // the owning control's name, or "" for the form
  const char* caption;
  Bounds bounds;
  int tabOrder;  // -1 for controls that take no focus
  unsigned traits = 0;
  FontStyle font = {};
};

struct Change {
  enum class What { Caption, Text, Checked, Items, Appended, Selection, Enabled, Visible };
  What what;
  std::string value;  // the new text for Caption, Text and Appended
};

class Control {
 public:
  using Observer = std::function<void(const Control&, const Change&)>;
  using Handler = std::function<void()>;

  Control(Dialog& owner, const Layout& layout);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Kind GetKind() const { return kind_; }
  const std::string& Parent() const { return parent_; }
  const Bounds& GetBounds() const { return bounds_; }
  int TabOrder() const { return tabOrder_; }
  bool Has(Trait trait) const { return (traits_ & trait) != 0; }
  const FontStyle& Font() const { return font_; }
  Dialog& Owner() const { return owner_; }

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  bool Enabled() const;
  void SetEnabled(bool on);
  bool Visible() const;
  void SetVisible(bool on);
  // Visible and enabled, with every parent control visible too.
  bool Usable() const;

  // Observers run on the changing thread while the control is locked: they must not call the
  // control back. Returns an id for Unsubscribe.
  int Subscribe(Observer observer);
  void Unsubscribe(int id);

  // Event handlers, bound by the dialog that owns the control. Run on the user-interface thread.
  Handler OnClick;
  Handler OnEnter;
  Handler OnExit;
  Handler OnKeyUp;

 protected:
  // Call with lock_ held.
  void Notify(Change::What what, const std::string& value = std::string()) const;
  mutable std::recursive_mutex lock_;

 private:
  Dialog& owner_;
  std::string name_;
  Kind kind_;
  std::string parent_;
  Bounds bounds_;
  int tabOrder_;
  unsigned traits_;
  FontStyle font_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  std::vector<std::pair<int, Observer>> observers_;
  int nextObserver_ = 1;
};

class Edit : public Control {
 public:
  Edit(Dialog& owner, const Layout& layout);
  std::string Text() const;
  void SetText(const std::string& text);

 private:
  std::string text_;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  bool Checked() const;
  virtual void SetChecked(bool on);

 private:
  // Read without the lock: the log switch is read for every log line by every worker.
  std::atomic<bool> checked_{false};
};

// Checking one radio button clears its partners (the other buttons of its group).
class RadioButton : public CheckBox {
 public:
  using CheckBox::CheckBox;
  void SetChecked(bool on) override;
  void AddPartner(RadioButton& other);
  // This button and its partners, in the order of the tab.
  std::vector<RadioButton*> Group();
  // Tab stops at the checked button of a group only (at each while none is checked).
  bool IsTabStop() const;

 private:
  void SetOwnState(bool on);
  std::vector<RadioButton*> partners_;
};

// What every list box and drop-down list shows: items and one selection (-1: none).
class ItemList {
 public:
  virtual ~ItemList() = default;
  virtual std::vector<std::string> Items() const = 0;
  virtual int Count() const = 0;
  virtual int Selected() const = 0;
  virtual void SetSelected(int index) = 0;  // an index outside the list selects nothing
  virtual std::string SelectedText() const = 0;
};

// An item list with one selection: list boxes and drop-down lists.
class ListModel : public Control, public ItemList {
 public:
  using Control::Control;

  std::vector<std::string> Items() const override;
  int Count() const override;
  std::string Item(int index) const;  // empty outside the list
  void Add(const std::string& item);
  void Delete(int index);  // nothing outside the list
  void Clear();
  void SetItems(const std::vector<std::string>& items);  // selection becomes -1
  int Selected() const override;
  void SetSelected(int index) override;
  std::string SelectedText() const override;
  int IndexOf(const std::string& item) const;

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

class ComboBox : public ListModel {
 public:
  using ListModel::ListModel;
};

class ListBox : public ListModel {
 public:
  using ListModel::ListModel;
};

// Buttons, labels, tab pages, frames, panels and pictures: a caption and the common states.
class Plain : public Control {
 public:
  using Control::Control;
};

// A user's click on a control: a check box toggles, a radio button is checked, then its click
// handler runs (whatever face the click came through).
void ClickAsUser(Control& c);

}  // namespace ui
