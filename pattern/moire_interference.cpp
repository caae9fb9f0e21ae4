// "Moire Interference": two sets of concentric white rings that slide apart
// and through each other.
#include "pattern/painters.h"

MoireInterferenceStateRecord MoireInterferenceState;

void ResetMoireInterference(int width, int height)
{
    MoireInterferenceState.offset = 0;
    MoireInterferenceState.step = 3;
    MoireInterferenceState.maxRadius = ((width < height ? width : height) - 100) / 2;
}

// The sets part until the offset passes the outer radius, turn, cross, and
// turn again once they have parted as far on the other side, so the offset
// stays within the radius (give or take one step) for as long as it runs.
void StepMoireInterference()
{
    MoireInterferenceStateRecord& state = MoireInterferenceState;
    state.offset += state.step;
    if (state.offset > state.maxRadius || state.offset < -state.maxRadius)
        state.step = -state.step;
}

void ReleaseMoireInterference()
{
}
