// A little disk kept in reserve beside the video files while a real file
// records: when the volume fills up and a frame cannot be written, the
// reserve is given back so that the file can still be closed with its index
// and the recording so far stays readable.
#pragma once

// Writes the reserve file (real bytes, so that the volume really holds
// them). False when the volume cannot hold it.
bool DiskReserveMake();
// Gives the reserve back.
void DiskReserveFree();
