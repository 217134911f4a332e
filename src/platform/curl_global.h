// libcurl's process-wide set-up, done once before the first use.
#pragma once

namespace nv {

void EnsureCurlInitialized();

}  // namespace nv
