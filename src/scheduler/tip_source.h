// The break engine's sayings come from the tips file.
#pragma once

#include "scheduler/engine_ports.h"
#include "tips/tips.h"

namespace pausora {

// The break engine's source of sayings: the tips file, read afresh at every
// notice through the given registry, files and random environment.
class TipsFileSource final : public ITipSource {
  public:
    TipsFileSource(IRegistry& registry, ILineSource& files, IRandomEnvironment& random)
        : m_registry(registry), m_files(files), m_random(random) {}

    std::string PickTip() override { return pausora::PickTip(m_registry, m_files, m_random); }

  private:
    IRegistry& m_registry;
    ILineSource& m_files;
    IRandomEnvironment& m_random;
};

}  // namespace pausora
