// The keyboard focus on X11, taken by the window itself: with a window
// manager that refuses requests it did not see coming, and without one,
// where nobody else gives it.
#pragma once

class QWidget;

// Gives `window` the input focus now, if it is on screen; Qt's own activation
// takes care of a window that is still being mapped.
void TakeInputFocus(QWidget& window);
