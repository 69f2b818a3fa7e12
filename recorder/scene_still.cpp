// Not built yet; the button stays hidden and disabled.
#include "recorder/scene_still.h"

void SceneStillCommand()
{
}

void SceneStillsRelease()
{
}
