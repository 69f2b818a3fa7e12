// The busy-meter faces shown in the main window while recording.
#pragma once

#include "common/win/file_map.h"
#include "recorder/core/busy_faces.h"

extern FSFMBitmapDC glBusyMeterBmp[kBusyFaceSuu];

// Builds the twelve pictures once after start-up.
void BusyMeterBmpCreate();
void BusyMeterBmpDelete();
