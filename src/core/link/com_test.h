#pragma once
// The cable loop-back test (LinkState::ComTest): "AT" sent on the session port
// must come back unchanged when the cable's plug is shorted.

#include "link/session_engine.h"

#include <functional>

namespace tamble {

// The outcome of a test whose "AT" came back unchanged.
inline constexpr const char* kComTestOkText = "Com Test OK";

class ComTest : public LinkStateHandler {
public:
    // `enableDialog` enables or disables the "Test Communication Cable and Port" dialog.
    explicit ComTest(std::function<void(bool)> enableDialog = {}) : m_enable(std::move(enableDialog)) {}

    void install(SessionEngine& engine);

    // "Test".
    void run(SessionEngine& engine);

    void onArrival(SessionEngine& engine) override;
    void onTimeout(SessionEngine& engine) override;

private:
    void enable(bool on) { if (m_enable) m_enable(on); }
    std::function<void(bool)> m_enable;
};

} // namespace tamble
