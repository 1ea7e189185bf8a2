#pragma once

// How the desktop knows the program: the menu entry's id (the Wayland app id,
// the taskbar's grouping) and the menu's icon, on every window of the run.
void InstallDesktopIdentity();

// Brings the program to the front with the focus: the dialog that waits for
// an answer when there is one, else the main window. A second start asks
// the running copy for this.
void RaiseProgramWindow();
