#pragma once
// Start-up, the run and the teardown of the program.

#include "app/app.h"

namespace fontarel {

// Runs the start-up sequence up to and including giving the charset canvas the focus. Returns false
// when the main window could not be opened (the caller then goes straight to shut_down).
bool open_program(App& app);
// Releases the store and closes the toolkit.
void shut_down(App& app);
// The whole run: open_program, the event loop, shut_down. Returns the process exit code, always 0.
int run_program(Toolkit& toolkit);

} // namespace fontarel
