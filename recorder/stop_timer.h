// The stop timer's check box 1002 and its three boxes.
#pragma once

// Check box clicked: arm with the typed time, or disarm.
void StopTimerClick();
// One of the boxes changed: disarm.
void StopTimerOff();
