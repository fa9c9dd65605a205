// Shows why the device library or one of its functions could not be found,
// in a dialog, before the program ends.
#pragma once

void showLoadFailureDialog(const char *reason);
