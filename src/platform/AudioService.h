#pragma once

namespace pagora::audio {

// The program's one connection to the sound output: opened on first use from
// the UI thread and kept until the application object goes. False when no
// device could be opened; that answer stands for the rest of the run, and the
// music and the turn sound are then silent without a message.
bool Open();

}  // namespace pagora::audio
