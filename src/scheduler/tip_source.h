// The break engine's sayings come from the tips file.
#pragma once

#include "scheduler/engine_ports.h"
#include "tips/tips.h"

namespace pausora {

// The break engine's source of sayings: the tips file named through the
// given registry, its decoded lines kept while the file stays as it was.
class TipsFileSource final : public ITipSource {
  public:
    // `programFolder` holds the file when no installer named a folder.
    TipsFileSource(IRegistry& registry, ILineSource& files, IFileStamps& stamps,
                   IRandomEnvironment& random, std::string programFolder = {})
        : m_registry(registry),
          m_file(files, stamps),
          m_random(random),
          m_programFolder(std::move(programFolder)) {}

    std::string PickTip() override {
        return pausora::PickTip(m_registry, m_file, m_random, m_programFolder);
    }

  private:
    IRegistry& m_registry;
    CTipsFile m_file;
    IRandomEnvironment& m_random;
    std::string m_programFolder;
};

}  // namespace pausora
