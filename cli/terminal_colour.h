#pragma once
// Whether the text table may colour its deviations.

namespace tesmirol::cli {

// True when standard output is a terminal that shows ANSI colours and the
// user has not switched colours off (NO_COLOR set to a non-empty value). On
// Windows the console is asked to interpret the colour sequences; a console
// that cannot gets none.
bool StandardOutputTakesColour();

}  // namespace tesmirol::cli
