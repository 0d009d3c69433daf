// The break engine's sayings come from the tips file.
#pragma once

#include "scheduler/engine_ports.h"
#include "tips/tips.h"

namespace pausora {

// The break engine's source of sayings: the tips file named through the
// given registry, its decoded lines kept while the file stays as it was.
class TipsFileSource final : public ITipSource {
  public:
    TipsFileSource(IRegistry& registry, ILineSource& files, IFileStamps& stamps,
                   IRandomEnvironment& random)
        : m_registry(registry), m_file(files, stamps), m_random(random) {}

    std::string PickTip() override { return pausora::PickTip(m_registry, m_file, m_random); }

  private:
    IRegistry& m_registry;
    CTipsFile m_file;
    IRandomEnvironment& m_random;
};

}  // namespace pausora
