// The program's own icon, drawn here at the two sizes a window shows it (the
// title bar's small one and the task switcher's large one), so that the
// program's windows carry one picture of their own on every desktop.
#pragma once

#include <QIcon>

namespace dpx::ui {

// Two sheets, the second a copy of the first, on the program's colour.
QIcon ProgramIcon();

}  // namespace dpx::ui
