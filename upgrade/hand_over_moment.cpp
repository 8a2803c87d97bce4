#include "upgrade/hand_over_moment.h"

bool MayHandOverNow(const HandOverScene& scene, DateTime now) {
  if (scene.alarmShowing || scene.warningShowing) return false;
  return !scene.nextDue ||
         CompareDateTime(*scene.nextDue, now + kHandOverClearSeconds / kSecondsPerDay) > 0;
}
