// The product folder: the current directory, whose name must end in one of
// the program's accepted names, and the folders kept beside the programs.
#pragma once

#include <windows.h>

extern char glProductFolder[MAX_PATH]; // current directory at start
extern char glBuhinFolder[MAX_PATH];   // parts folder: product folder + "\部品"

// Runs once at start, before any window exists. Returns only from an
// accepted product folder; otherwise shows the message and ends the
// program with exit code 0, having created nothing.
void ProductFolderCheck();

// Creates the settings folder "個人設定" (an existing one is fine).
void SettingsFolderCreate();

// Product folder + `tail` (which starts with "\").
void ProductPath(char* dest, const char* tail);
