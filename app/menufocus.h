// Leaving a menu with Esc gives the keyboard back to the control that had it. Qt's menu bar
// keeps the keyboard after Esc closes one of its menus (Alt+F, Esc leaves "File" lit and
// nothing else reachable, Tab included) until a second Esc; here one Esc is enough.
#pragma once

class QMenuBar;

namespace app {

// Watches every menu that bar holds now.
void ReturnFocusAfterMenus(QMenuBar* bar);

}  // namespace app
