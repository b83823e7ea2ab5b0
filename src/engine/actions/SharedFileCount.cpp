#include "engine/actions/SharedFileCount.h"

#include "engine/actions/RegistryKey.h"

namespace tarn::engine {

// A count of 0 is treated like none: nobody claims the file.
void CountSharedFile(SetupSession& s, const std::string& path, bool existedBefore) {
  RegistryKey key(s.System.registry, s.CodePage);
  if (!key.OpenPath(kSharedDllsKey, true)) return;
  const std::uint32_t count = key.QueryDword(path);
  key.SetDword(path, count != 0 ? count + 1 : existedBefore ? 2 : 1);
}

SharedFileRelease ReleaseSharedFile(SetupSession& s, const std::string& path) {
  RegistryKey key(s.System.registry, s.CodePage);
  if (!key.OpenPath(kSharedDllsKey, false)) return SharedFileRelease::Uncounted;
  const std::uint32_t count = key.QueryDword(path);
  if (count == 0) return SharedFileRelease::Uncounted;
  if (count > 1) {
    key.SetDword(path, count - 1);
    return SharedFileRelease::StillInUse;
  }
  key.RemoveValue(path);
  return SharedFileRelease::Unused;
}

}  // namespace tarn::engine
