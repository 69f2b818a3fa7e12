// The recorder's window classes and the windows created at start-up.
#pragma once

// Registers "NORMALDLG" (early, with the fonts and menus).
void DialogClassRegister();

// Registers the classes and creates the windows in their order; creating
// the main window loads the settings. Returns false when the main window
// could not be created.
bool RecorderWindowsCreate();
