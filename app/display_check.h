// Whether the program can reach a display at all, checked before Qt starts (Qt aborts the
// process when it cannot open one).
#pragma once

#include <string>

// Empty when a display looks usable (or the platform plugin is chosen explicitly with
// QT_QPA_PLATFORM); otherwise the one-line reason to print.
std::string display_problem();
