// Not built yet; the button is hidden until a recording is paused.
#include "recorder/petit_rewind.h"

void PetitRewindCommand()
{
}
