// The hourglass shown while a long operation runs on the user-interface
// thread. Requests nest: the cursor comes back when the last one ends.
#pragma once

// n > 0 shows the hourglass, n < 0 takes one request back, 0 shows it again
// while any is outstanding (after something else set the cursor).
void AfxDoWaitCursor(int n);
bool AfxIsWaitCursorShown();
