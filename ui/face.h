#pragma once
// The face that shows the dialogs to the user. The Windows DLL installs its native views at init
// and removes them at quit; builds that bring their own face (playersim's console face, the
// tests) link the empty one and set the face hooks themselves.

#include "platform/hostwin.h"

namespace face {

// Called by init on the user-interface thread before any dialog is built; `player` is the
// player's main window. The dialogs do not take it as their owner: each has its own taskbar
// entry and stays when the player is minimised.
void Install(host::Window player);
// Called by quit on the user-interface thread after every dialog has gone.
void Remove();

}  // namespace face
