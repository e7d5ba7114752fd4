#pragma once
// What the plug-in's native windows promise to the programs that drive or inspect them in the
// same process (playersim.exe's dialog commands, the tests): window classes, the properties that
// name a window's model, control ids and the registered messages of the log view. Only names
// and numbers here, no code, so that the DLL and the programs agree without sharing objects.

namespace viewproto {

// Window classes of the three forms (registered with the DLL's module handle) and of the
// container windows that stand for tab pages and panels.
inline constexpr const char* kConfigClass = "TConfigDlg";
inline constexpr const char* kRestartClass = "TServerRestartDlg";
inline constexpr const char* kIpAddressClass = "TOKBottomDlg";
inline constexpr const char* kContainerClass = "TVelotamContainer";

// Every form and every control window carries these two window properties (GetPropA):
// kNameProp: a `const char*` to the model's name ("ConfigDlg", "PortEdit", ...), valid as long
// as the window exists; kKindProp: the control's ui::Kind as an integer plus one (forms: none).
inline constexpr const char* kNameProp = "Velotam.Name";
inline constexpr const char* kKindProp = "Velotam.Kind";
// kKeysProp (non-zero) marks an edit that runs a handler when a key is released in it: the
// octet fields, which move the focus on after three digits.
inline constexpr const char* kKeysProp = "Velotam.Keys";

// A control's id (GetDlgCtrlID) is kFirstControlId plus its index in the dialog's layout order
// (ui::Dialog::Controls()), so sorting a form's descendants by id gives the dump order.
inline constexpr int kFirstControlId = 1000;

// Registered window messages (RegisterWindowMessageA):
// kLogSkippedMessage is sent to the Out list box when the view fell behind the activity log by
// more than it holds; wParam is the number of entries it missed. The list box ignores it.
inline constexpr const char* kLogSkippedMessage = "Velotam.LogSkipped";
// kCatchUpMessage, sent to the configuration form, makes the log view take every entry logged
// so far into the Out list box before it returns.
inline constexpr const char* kCatchUpMessage = "Velotam.CatchUp";
// kPressMessage, sent to a control window, runs the control's click handler only, whatever the
// control's state (for scripts: the invisible button that writes the language file template).
inline constexpr const char* kPressMessage = "Velotam.Press";

// The log view adds a batch of entries to Out between WM_SETREDRAW FALSE and WM_SETREDRAW TRUE,
// one LB_ADDSTRING per entry, in log order; entries leave from the top by LB_DELETESTRING 0, and
// "Protokoll löschen" empties it by LB_RESETCONTENT.

// Tab pages: all four page windows stay visible (WS_VISIBLE) while the dialog exists; the
// active one lies on top of the others in the tab control's display area.

}  // namespace viewproto
