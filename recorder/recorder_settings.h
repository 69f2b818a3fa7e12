// The recorder's settings files in the settings folder "個人設定".
#pragma once

#include <cstdint>
#include <string>

// Product folder + "\個人設定\" + name.
void SettingsPath(char* dest, const char* name);

// Reads every settings file of the main window, in the order of the table,
// and brings the window, its controls and menu items in line.
void SettingsLoad();

// Writes the settings files at exit, in their order.
void SettingsSave();

// Loads the first 64 bytes of "CompData.txt" into glCompVars (a shorter
// file counts as missing) and shows the codec's code in edit 1011.
void CompDataLoadAndShow();

// Refills glWaveFormat from glChannels.
void WaveFormatFill();

// Line `line` of the settings file `name`; a missing file or line reads as
// empty, and as 0 when taken as a number.
std::string SettingLine(const char* name, int line);
int32_t SettingNum(const char* name, int line);
