// Scene stills: "静止画(残り?枚)" during a recording.
#pragma once

void SceneStillCommand();
// At exit: the still pictures.
void SceneStillsRelease();
