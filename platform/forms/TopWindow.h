#pragma once
// Showing a top-level window again in its normal state after it was minimised and hidden.

class QWidget;

namespace forms {

// Brings top back in its normal state (neither minimised, maximised nor full screen) and shows
// it. A window that was minimised while hidden is told to the window system as a normal
// window before it is mapped again: the toolkit would map it first and correct its hints only
// afterwards, so that a window manager reading them in between puts it back as an icon.
void ShowNormal(QWidget *top);

}
