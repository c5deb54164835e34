// Work that may block beyond any time-out the platform offers (a web server
// that takes the connection and never answers, a network share that does
// not answer), run so that its caller waits for it until a deadline and no
// longer. The system's own thread: the library depends on no threads
// runtime of the compiler's.
#pragma once

#include <windows.h>

#include <functional>

#include "version/start_deadline.h"

// The whole milliseconds left until the deadline; 0 once it has passed,
// and never more than INFINITE - 1 (a wait that ends).
DWORD MillisecondsLeft(StartClock::time_point deadline);

// Runs work on a thread of its own and waits for it until the deadline.
// Work still running then is left to run and ends with the process, so it
// must share ownership of everything it touches (no reference to the
// caller's locals). An exception ends the work as a failure would. True
// when the work finished in time; false also when no thread could be made.
bool RunUntilDeadline(std::function<void()> work, StartClock::time_point deadline);
