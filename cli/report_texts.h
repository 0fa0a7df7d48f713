#pragma once
// The labels of the plain report: the engine's report labels, which the page
// shows too (engine/report_labels.h). The command line's code, in namespace
// tesmirol::cli, finds them there by their names.

#include "engine/report_labels.h"
