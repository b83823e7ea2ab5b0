#pragma once
// The driver's exit statuses, which test scripts branch on.

namespace tarn::driver {

enum ExitCode : int {
  kOk = 0,
  kFailed = 1,  // a check did not hold, a wait timed out or an action was refused
  kUsage = 2,
};

}  // namespace tarn::driver
