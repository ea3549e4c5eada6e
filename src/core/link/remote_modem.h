#pragma once
// Configuring the remote modem through a cable on the session port
// (LinkState::RemoteModemSetup): factory settings with echo off, then the
// remote modem init string.

#include "link/session_engine.h"

#include <functional>

namespace tamble {

// The outcome of a remote modem that took its init string.
inline constexpr const char* kRemoteModemConfiguredText = "Modem configured as remote";

class RemoteModemSetup : public LinkStateHandler {
public:
    // `enableDialog` enables or disables the "Configure Remote Modem" dialog.
    explicit RemoteModemSetup(std::function<void(bool)> enableDialog = {}) : m_enable(std::move(enableDialog)) {}

    void install(SessionEngine& engine);

    // "Proceed".
    void proceed(SessionEngine& engine);

    void onArrival(SessionEngine& engine) override;
    void onTimeout(SessionEngine& engine) override;

private:
    void finish(SessionEngine& engine);
    void enable(bool on) { if (m_enable) m_enable(on); }

    std::function<void(bool)> m_enable;
};

} // namespace tamble
