// The host record in force (see host.h) and its defaults.
#include "services/program/host.h"

#include <utility>

namespace host_detail {
Host installed;
}

void install_host(Host record) { host_detail::installed = std::move(record); }

void clear_host() { host_detail::installed = Host{}; }

HostTime host_now() { return host().clock ? host().clock() : steady_clock_now(); }

HostTime steady_clock_now() {
  return std::chrono::duration_cast<HostTime>(std::chrono::steady_clock::now().time_since_epoch());
}

bool interrupt_program() {
  if (!host().interrupt) return false;
  host().interrupt();
  return true;
}

ScopedHost::ScopedHost(const std::function<void(Host&)>& change) : previous_(host()) {
  Host changed = previous_;
  change(changed);
  install_host(std::move(changed));
}

ScopedHost::~ScopedHost() { install_host(std::move(previous_)); }
