// The break engine's sayings come from the tips file.
#pragma once

#include "scheduler/engine_ports.h"
#include "tips/tips.h"

namespace pausora {

// The break engine's source of sayings: the tips file named through the
// given registry, in the user's language when it has one there, else the
// English file; its decoded lines kept while the file stays as it was.
class TipsFileSource final : public ITipSource {
  public:
    // `programFolder` holds the file when no installer named a folder.
    TipsFileSource(IRegistry& registry, ILineSource& files, IFileStamps& stamps,
                   IRandomEnvironment& random, std::string programFolder = {})
        : m_registry(registry),
          m_file(files, stamps),
          m_random(random),
          m_programFolder(std::move(programFolder)) {}

    void SetLanguage(std::string_view language) { m_fileName = TipsFileName(language); }

    std::string PickTip() override {
        m_translated = m_fileName != kTipsFileName;
        if (m_translated) {
            std::string tip =
                pausora::PickTip(m_registry, m_file, m_random, m_programFolder, m_fileName);
            if (!tip.empty()) {
                return tip;
            }
            m_translated = false;
        }
        return pausora::PickTip(m_registry, m_file, m_random, m_programFolder);
    }
    // The last saying came from a translation, which is UTF-8; the English
    // file may be one an older version installed in the system's code page.
    bool LastTranslated() const { return m_translated; }

  private:
    IRegistry& m_registry;
    CTipsFile m_file;
    IRandomEnvironment& m_random;
    std::string m_programFolder;
    std::string m_fileName{kTipsFileName};
    bool m_translated = false;
};

}  // namespace pausora
