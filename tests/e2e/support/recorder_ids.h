// Ids the recorder's windows answer to, as a user meets them: the buttons
// and boxes of the main window, menu commands, the range window's buttons,
// and the buttons of message boxes.
#pragma once

namespace vemtra_e2e {

// Main window.
constexpr int kIdPause = 1007;
constexpr int kIdStop = 1008;
constexpr int kIdFileName = 1013;
constexpr int kIdHanniShitei = 1019;
constexpr int kIdRokuga = 1020;
constexpr int kIdSaveFolder = 1030;
constexpr int kIdFileNameDecide = 1035;

// Menu commands.
constexpr int kMenuOtoNashi = 1058;
constexpr int kMenuOnseiIranai = 1059;
constexpr int kMenuSplit = 1060;
constexpr int kMenuRecCancel = 1063;

// Range window.
constexpr int kIdGamenKoushin = 1037;
constexpr int kIdJama = 1038;
constexpr int kIdHanniCancel = 1039;

// Message box buttons.
constexpr int kIdOk = 1;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

}  // namespace vemtra_e2e
