#pragma once
// The face that shows the dialogs to the user. The Windows DLL brings its native views, made by
// the central object after its dialogs and gone before them; builds that bring their own face
// (playersim's console face, the tests) link the empty one and attach theirs to the forms.

#include <memory>

class LogSink;

namespace ui {
class Face;
class Forms;
}  // namespace ui

namespace face {

// The face of this build, attached to `forms` until it goes; its failures are logged to `log`.
// nullptr when the program attaches its own. User-interface thread (the one that runs init).
// The dialogs do not take the player's window as their owner: each has its own taskbar entry
// and stays when the player is minimised.
std::unique_ptr<ui::Face> Make(ui::Forms& forms, LogSink& log);

}  // namespace face
