#pragma once
// The system services one run works with, handed around as one bundle. Whoever makes it owns
// the services and keeps them alive for as long as the bundle is used.

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Shell.h"
#include "platform/SystemFacts.h"

namespace tarn::platform {

struct Platform {
  FileSystem& files;
  Registry& registry;
  SystemFacts& system;
  Clock& clock;
  Shell& shell;
};

}  // namespace tarn::platform
