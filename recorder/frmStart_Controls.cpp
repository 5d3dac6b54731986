// The controls of the timers window.
#include "recorder/frmStart.h"

void frmStart::CreateControls() {}
