#pragma once
// What the install worker needs from the user interface. The worker runs on its own thread and
// calls these from there; the implementation decides how each reaches the screen (the progress
// page sends window messages to its own controls and owns its message boxes by the frame).

#include <cstdint>
#include <string>

namespace tarn::engine {

enum class InstallEnd { Completed, Abandoned };

class InstallHost {
 public:
  virtual ~InstallHost() = default;
  // The status line of the progress page.
  virtual void ShowStatus(const std::string& text) = 0;
  // Percent of the counted files, 0 to 100.
  virtual void ShowProgress(std::int32_t percent) = 0;
  // "Do you want to stop the installation?": Yes/No with No preselected. True for Yes.
  virtual bool AskToAbort(const std::string& text, const std::string& caption) = 0;
  // A file could not be written: Yes (abandon) / No (ignore), No preselected. True for Yes.
  virtual bool AskAfterWriteError(const std::string& text, const std::string& caption) = 0;
  // The run is over; the host hands control back to the wizard (timer 2 or 8 on the frame).
  virtual void Finished(InstallEnd end) = 0;
  // Whether someone follows the run on the screen; an unattended run has nobody to pace for.
  virtual bool Watched() const { return true; }
};

}  // namespace tarn::engine
