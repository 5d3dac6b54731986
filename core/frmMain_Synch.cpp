// The daily download of the reference tables.
#include "core/frmMain.h"
#include "core/modMain.h"

void frmMain::SynchTables() {}
