#pragma once

// How the desktop knows the program: the menu entry's id (the Wayland app id,
// the taskbar's grouping) and the menu's icon, on every window of the run.
void InstallDesktopIdentity();

