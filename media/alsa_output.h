#pragma once
// ALSA's "default" PCM as the program's sound output. alsa-lib's own error
// printing is switched off on first use: with no sound device the program
// stays silent, in sound and on stderr.

#include "media/sound_output.h"

namespace vorlindy {

class AlsaOutput final : public SoundOutput {
 public:
  // Opens "default" in non-blocking mode for this playback alone, with about
  // half a second of queue; nothing for a sample size ALSA has no format for,
  // or a block align that does not match channels times the sample size.
  std::unique_ptr<SoundStream> Open(const ClipFormat& format) override;
};

}  // namespace vorlindy
