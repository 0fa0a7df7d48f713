#pragma once
// CStatic: a static text control of a dialog.

#include "framework/wnd.h"

namespace tesmirol {

// A static control gives the program nothing beyond CWnd; the class exists
// so that self-drawn labels derive from the control they take over.
class CStatic : public CWnd {};

}  // namespace tesmirol
