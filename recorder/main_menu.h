// The menu bars of the main window and the help window, and the one routine
// that sets a menu item's state.
#pragma once

#include <windows.h>

// Builds glhMainMenu and glhHelpMenu.
void MenuBarsCreate();
void MenuBarsDestroy();

// State 0: disabled (grayed, unchecked); 1: enabled, unchecked; 2: enabled
// and checked. A non-empty text replaces the item's text.
void MenuStateSet(const char* text, HMENU menu, UINT id, int state);

// While a recording runs the sound, output-folder and donation items are
// disabled and only then can the recording be split; afterwards the items
// show their flags again.
void MenuStatesForRecording(int recording);

// Checked when the flag is 1, enabled and unchecked when it is 0.
void MenuToggleShow(UINT id, int flag);
