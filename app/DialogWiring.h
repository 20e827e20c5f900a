// Plugs the program's dialogs into the main window.
#pragma once

namespace q2 {

class TFormMain;

// Creates each dialog once, as a child of the main window, and installs it.
void InstallDialogs(TFormMain& main);

}  // namespace q2
