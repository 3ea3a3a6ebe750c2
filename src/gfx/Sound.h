#pragma once

namespace pagora {

// True when the audio system reports an output device it can open.
bool SoundDevicePresent();

}  // namespace pagora
