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

DialogCommands::DialogCommands(std::unique_ptr<DialogSurface> surface)
    : surface_(std::move(surface)) {}

DialogCommands::~DialogCommands() = default;

DialogCommands::Target DialogCommands::FindIn(Target dialog, const std::string& control) const {
  for (Target c : surface_->Controls(dialog)) {
    if (surface_->Name(c) == control) return c;
  }
  return nullptr;
}

DialogCommands::Target DialogCommands::Resolve(const std::string& name, std::string& error) const {
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) {
    std::string dialog = name.substr(0, dot);
    std::string control = name.substr(dot + 1);
    for (Target d : surface_->DumpOrder()) {
      if (surface_->DialogName(d) != dialog) continue;
      if (Target c = FindIn(d, control)) return c;
      error = "no control " + control + " in " + dialog;
      return nullptr;
    }
    error = "no dialog " + dialog;
    return nullptr;
  }
  for (Target d : surface_->LookupOrder()) {
    if (Target c = FindIn(d, name)) return c;
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
  Target c = Resolve(name, error);
  bool ok = c != nullptr;
  if (ok) {
    try {
      if (verb == "click") {
        ok = Click(c, error);
      } else if (verb == "press") {
        surface_->Press(c);
      } else if (verb == "focus") {
        surface_->Focus(c);
      } else if (verb == "text") {
        ok = Text(c, value, error);
      } else if (verb == "check") {
        ok = Check(c, value, error);
      } else if (verb == "select") {
        ok = Select(c, value, error);
      } else {
        ok = Key(c, value, error);
      }
    } catch (...) {
      ok = false;
      error = "the handler of " + name + " failed";
    }
  }
  if (!ok) PrintLine("ERROR " + text::EscapeLine(error));
  return true;
}

bool DialogCommands::Click(Target c, std::string& error) {
  Kind k = surface_->KindOf(c);
  if (k != Kind::Button && !IsCheckable(k)) {
    error = surface_->Name(c) + " cannot be clicked";
    return false;
  }
  if (!surface_->Usable(c)) {
    error = surface_->Name(c) + (surface_->Visible(c) ? " is disabled" : " is not visible");
    return false;
  }
  surface_->Click(c);
  return true;
}

bool DialogCommands::Text(Target c, const std::string& value, std::string& error) {
  Kind k = surface_->KindOf(c);
  if (k == Kind::Edit) {
    surface_->SetText(c, value);
    return true;
  }
  if (k == Kind::ComboBox) {
    std::vector<std::string> items = surface_->Items(c);
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] != value) continue;
      surface_->Select(c, static_cast<int>(i));
      return true;
    }
    error = surface_->Name(c) + " has no entry " + value;
    return false;
  }
  error = surface_->Name(c) + " has no text";
  return false;
}

bool DialogCommands::Check(Target c, const std::string& value, std::string& error) {
  if (!IsCheckable(surface_->KindOf(c))) {
    error = surface_->Name(c) + " cannot be checked";
    return false;
  }
  if (value != "0" && value != "1") {
    error = "check takes 0 or 1";
    return false;
  }
  surface_->SetChecked(c, value == "1");
  return true;
}

bool DialogCommands::Select(Target c, const std::string& value, std::string& error) {
  if (!IsList(surface_->KindOf(c))) {
    error = surface_->Name(c) + " is no list";
    return false;
  }
  auto index = text::ParseInt(value);
  if (!index || *index < -1 || *index >= static_cast<int>(surface_->Items(c).size())) {
    error = "no entry " + value + " in " + surface_->Name(c);
    return false;
  }
  surface_->Select(c, *index);
  return true;
}

bool DialogCommands::Key(Target c, const std::string& typed, std::string& error) {
  if (surface_->KindOf(c) != Kind::Edit || !surface_->TakesKeys(c)) {
    error = surface_->Name(c) + " is no octet field";
    return false;
  }
  surface_->Focus(c);
  // Each character goes to the control that has the focus now: the key-up handler may have
  // moved it on.
  for (char ch : typed) {
    if (!surface_->Type(ch)) break;
  }
  return true;
}

void DialogCommands::Dump() const {
  const DialogSurface& s = *surface_;
  Target focused = s.Focused();
  for (Target d : s.DumpOrder()) {
    const std::string dialog = s.DialogName(d);
    PrintLine("CTRL " + dialog + ".shown=" + Flag(s.Shown(d)));
    for (Target c : s.Controls(d)) {
      const std::string prefix = dialog + "." + s.Name(c);
      Kind k = s.KindOf(c);
      if (HasCaption(k)) Property(prefix, "caption", s.Caption(c));
      if (k == Kind::Edit) Property(prefix, "text", s.Text(c));
      std::vector<std::string> items;
      int selected = -1;
      if (IsList(k)) {
        items = s.Items(c);
        selected = s.Selected(c);
      }
      bool inList = selected >= 0 && selected < static_cast<int>(items.size());
      if (k == Kind::ComboBox) {
        Property(prefix, "text", inList ? items[static_cast<std::size_t>(selected)] : "");
      }
      if (IsCheckable(k)) Property(prefix, "checked", Flag(s.Checked(c)));
      if (IsList(k)) {
        Property(prefix, "count", std::to_string(items.size()));
        for (std::size_t i = 0; i < items.size(); ++i) {
          Property(prefix, "item." + std::to_string(i), items[i]);
        }
        Property(prefix, "selected", std::to_string(selected));
      }
      Property(prefix, "enabled", Flag(s.Enabled(c)));
      Property(prefix, "visible", Flag(s.Visible(c)));
      Property(prefix, "focused", Flag(c == focused));
    }
  }
  PrintLine("CTRL end");
}

}  // namespace console
