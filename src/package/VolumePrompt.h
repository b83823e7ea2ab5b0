#pragma once
// How the package reader asks the user for a volume it cannot find. The Windows build shows
// the insert-media dialog; tests answer from a script.

#include <cstdint>
#include <optional>
#include <string>

namespace tarn::package {

class VolumePrompt {
 public:
  virtual ~VolumePrompt() = default;
  // Asks for volume `volume`, expected at `expectedPath`. The full path of the volume file the
  // user pointed to, or nothing when the user gave up.
  virtual std::optional<std::string> AskForVolume(const std::string& expectedPath,
                                                  std::int32_t volume) = 0;
};

}  // namespace tarn::package
