// What the end of the restart dialog means for the run: the user left the restart to later.
#pragma once

class CDialog;

// True when `closed`, a dialog that has just closed, is the restart dialog and it ended with
// neither a shutdown nor a restart asked for: its third choice, or Escape.
bool LeftRestartToUser(const CDialog& closed);
