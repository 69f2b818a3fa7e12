// "プチ巻き戻し <<": cut away the last seconds while paused.
#pragma once

void PetitRewindCommand();
