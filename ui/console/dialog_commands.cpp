#include "ui/console/dialog_commands.h"

#include "base/text.h"
#include "ui/console/console_output.h"

namespace console {

namespace {

using ui::Kind;

bool IsList(Kind k) {
  return k == Kind::ComboBox || k == Kind::ListBox;
}
bool IsCheckable(Kind k) {
  return k == Kind::CheckBox || k == Kind::RadioButton;
}
bool HasCaption(Kind k) {
  return k != Kind::Edit && !IsList(k);
}

// Splits "verb rest" at the first blank; rest keeps every byte after that blank.
void SplitFirst(const std::string& s, std::string& head, std::string& rest, bool& hasRest) {
  std::size_t p = s.find(' ');
  hasRest = p != std::string::npos;
  head = hasRest ? s.substr(0, p) : s;
  rest = hasRest ? s.substr(p + 1) : std::string();
}

void Property(const std::string& prefix, const std::string& key, const std::string& value) {
  PrintLine("CTRL " + prefix + "." + key + "=" + text::EscapeLine(value));
}

std::string Flag(bool on) {
  return on ? "1" : "0";
}

}  // namespace

DialogCommands::DialogCommands(DialogList dumpOrder, DialogList lookupOrder)
    : dumpOrder_(std::move(dumpOrder)), lookupOrder_(std::move(lookupOrder)) {}

ui::Control* DialogCommands::Resolve(const std::string& name, std::string& error) const {
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) {
    std::string dialog = name.substr(0, dot);
    std::string control = name.substr(dot + 1);
    for (ui::Dialog* d : dumpOrder_()) {
      if (d->Name() != dialog) continue;
      if (ui::Control* c = d->Find(control)) return c;
      error = "no control " + control + " in " + dialog;
      return nullptr;
    }
    error = "no dialog " + dialog;
    return nullptr;
  }
  for (ui::Dialog* d : lookupOrder_()) {
    if (ui::Control* c = d->Find(name)) return c;
  }
  error = "no control " + name;
  return nullptr;
}

bool DialogCommands::Handle(const std::string& line) {
  std::string verb, rest, name, value;
  bool hasArgs = false, hasValue = false;
  SplitFirst(line, verb, rest, hasArgs);
  static const char* const kVerbs[] = {"click", "press",  "focus", "text",
                                       "check", "select", "key",   "dump"};
  bool known = false;
  for (const char* v : kVerbs) known = known || verb == v;
  if (!known) return false;

  std::string error;
  if (verb == "dump") {
    if (hasArgs) {
      PrintLine("ERROR dump takes no argument");
    } else {
      Dump();
    }
    return true;
  }
  SplitFirst(rest, name, value, hasValue);
  bool needsValue = verb == "text" || verb == "check" || verb == "select" || verb == "key";
  if (!hasArgs || name.empty() || needsValue != hasValue) {
    PrintLine("ERROR usage: " + verb + (needsValue ? " NAME VALUE" : " NAME"));
    return true;
  }
  ui::Control* c = Resolve(name, error);
  bool ok = c != nullptr;
  if (ok) {
    try {
      if (verb == "click") {
        ok = Click(*c, error);
      } else if (verb == "press") {
        if (c->OnClick) c->OnClick();
      } else if (verb == "focus") {
        ui::MoveFocus(c);
      } else if (verb == "text") {
        ok = Text(*c, value, error);
      } else if (verb == "check") {
        ok = Check(*c, value, error);
      } else if (verb == "select") {
        ok = Select(*c, value, error);
      } else {
        ok = Key(*c, value, error);
      }
    } catch (...) {
      ok = false;
      error = "the handler of " + name + " failed";
    }
  }
  if (!ok) PrintLine("ERROR " + text::EscapeLine(error));
  return true;
}

bool DialogCommands::Click(ui::Control& c, std::string& error) {
  Kind k = c.GetKind();
  if (k != Kind::Button && !IsCheckable(k)) {
    error = c.Name() + " cannot be clicked";
    return false;
  }
  if (!c.Usable()) {
    error = c.Name() + (c.Visible() ? " is disabled" : " is not visible");
    return false;
  }
  if (k == Kind::CheckBox) {
    auto& box = static_cast<ui::CheckBox&>(c);
    box.SetChecked(!box.Checked());
  } else if (k == Kind::RadioButton) {
    static_cast<ui::RadioButton&>(c).SetChecked(true);
  }
  if (c.OnClick) c.OnClick();
  return true;
}

bool DialogCommands::Text(ui::Control& c, const std::string& value, std::string& error) {
  if (c.GetKind() == Kind::Edit) {
    static_cast<ui::Edit&>(c).SetText(value);
    return true;
  }
  if (c.GetKind() == Kind::ComboBox) {
    auto& box = static_cast<ui::ComboBox&>(c);
    int index = box.IndexOf(value);
    if (index < 0) {
      error = c.Name() + " has no entry " + value;
      return false;
    }
    box.SetSelected(index);
    return true;
  }
  error = c.Name() + " has no text";
  return false;
}

bool DialogCommands::Check(ui::Control& c, const std::string& value, std::string& error) {
  if (!IsCheckable(c.GetKind())) {
    error = c.Name() + " cannot be checked";
    return false;
  }
  if (value != "0" && value != "1") {
    error = "check takes 0 or 1";
    return false;
  }
  static_cast<ui::CheckBox&>(c).SetChecked(value == "1");
  return true;
}

bool DialogCommands::Select(ui::Control& c, const std::string& value, std::string& error) {
  if (!IsList(c.GetKind())) {
    error = c.Name() + " is no list";
    return false;
  }
  auto& list = dynamic_cast<ui::ItemList&>(c);
  auto index = text::ParseInt(value);
  if (!index || *index < -1 || *index >= list.Count()) {
    error = "no entry " + value + " in " + c.Name();
    return false;
  }
  list.SetSelected(*index);
  return true;
}

bool DialogCommands::Key(ui::Control& c, const std::string& typed, std::string& error) {
  if (c.GetKind() != Kind::Edit || !c.OnKeyUp) {
    error = c.Name() + " is no octet field";
    return false;
  }
  ui::MoveFocus(&c);
  for (char ch : typed) {
    // Each character goes to the control that has the focus now: the key-up handler may have
    // moved it on.
    ui::Control* target = ui::Focused();
    if (target == nullptr) break;
    if (target->GetKind() == Kind::Edit) {
      auto& edit = static_cast<ui::Edit&>(*target);
      // The octet fields take up to three digits; any other key changes nothing.
      std::string current = text::Trim(edit.Text());
      if (ch >= '0' && ch <= '9' && current.size() < 3) edit.SetText(current + ch);
    }
    if (target->OnKeyUp) target->OnKeyUp();
  }
  return true;
}

void DialogCommands::Dump() const {
  ui::Control* focused = ui::Focused();
  for (ui::Dialog* d : dumpOrder_()) {
    PrintLine("CTRL " + d->Name() + ".shown=" + Flag(d->Shown()));
    for (ui::Control* c : d->Controls()) {
      const std::string prefix = d->Name() + "." + c->Name();
      Kind k = c->GetKind();
      if (HasCaption(k)) Property(prefix, "caption", c->Caption());
      if (k == Kind::Edit) Property(prefix, "text", static_cast<ui::Edit*>(c)->Text());
      if (k == Kind::ComboBox) {
        Property(prefix, "text", dynamic_cast<ui::ItemList&>(*c).SelectedText());
      }
      if (IsCheckable(k))
        Property(prefix, "checked", Flag(static_cast<ui::CheckBox*>(c)->Checked()));
      if (IsList(k)) {
        auto* list = dynamic_cast<ui::ItemList*>(c);
        std::vector<std::string> items = list->Items();
        Property(prefix, "count", std::to_string(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) {
          Property(prefix, "item." + std::to_string(i), items[i]);
        }
        Property(prefix, "selected", std::to_string(list->Selected()));
      }
      Property(prefix, "enabled", Flag(c->Enabled()));
      Property(prefix, "visible", Flag(c->Visible()));
      Property(prefix, "focused", Flag(c == focused));
    }
  }
  PrintLine("CTRL end");
}

}  // namespace console
