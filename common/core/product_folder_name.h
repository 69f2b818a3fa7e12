// Which folders a program accepts as its product folder.
#pragma once

// True when `currentDir` ends, byte for byte and case-sensitively, with one
// of the `count` names. Only the tail is compared, so "xxVemtra" passes.
bool ProductFolderNameAccepted(const char* currentDir, const char* const* names, int count);
