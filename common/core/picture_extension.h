// Which pictures the programs have converted to BMP by the conversion service.
#pragma once

// True for ".jpg", ".gif" and ".png" in any case (the path's last '.'
// decides); ".bmp" is loaded directly, ".jpeg" and TIFF are never sent.
bool PixconvWantsExtension(const char* path);
