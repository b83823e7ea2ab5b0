#pragma once
// The user's name and company: what Windows has registered as owner and organisation, and how
// the user information step writes the chosen texts where the project asks.

#include <string>

#include "engine/session/SetupSession.h"
#include "project/Task.h"

namespace tarn::pages {

struct RegisteredUser {
  std::string owner;
  std::string organisation;
};

// The registered owner and organisation of this Windows; empty texts where none is registered.
RegisteredUser ReadRegisteredUser(engine::SetupSession& session);

// Runs the registry operation of every EditBox of `task` whose description names the name or
// the company field, with that field's text.
void StoreUserInformation(engine::SetupSession& session, const project::Task& task,
                          const std::string& name, const std::string& company);

}  // namespace tarn::pages
