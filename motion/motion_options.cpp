#include "motion/motion_options.h"

MotionOptionsRecord MotionOptions;

void ResetMotionOptions()
{
    StoreRelaxed(MotionOptions.circle, 0);
    StoreRelaxed(MotionOptions.shapeSize, 96);
    StoreRelaxed(MotionOptions.hollow, 0);
    StoreRelaxed(MotionOptions.invertColors, 0);
    StoreRelaxed(MotionOptions.preventFlicker, 1);
    StoreRelaxed(MotionOptions.forceScreenUpdate, 1);
    StoreRelaxed(MotionOptions.stepPeriodMicros, 16666);
}
