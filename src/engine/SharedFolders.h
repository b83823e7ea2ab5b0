#pragma once
// Folders whose files other programs share: files there are never asked about when they cannot
// be written, and never taken back by a roll-back.

namespace tarn::engine {

// The shared database-engine folder, always named on drive C: as older packages expect.
constexpr const char* kSharedEngineFolder = "C:\\Program Files\\Common Files\\Borland Shared\\BDE";

}  // namespace tarn::engine
