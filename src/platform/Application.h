#pragma once

namespace pagora {

// Closes the start-up window and leaves the message loop with the status; the
// windows and their workers are then taken down in order by their owners.
void EndProgram(int status);

// Minimises every shown window of the program.
void MinimizeApplication();

}  // namespace pagora
