#include "sound/wave_file.h"

#include <utility>

namespace pausora {

CFileError::CFileError(FileErrorCause cause, std::string path)
    : std::runtime_error("file error"), m_cause(cause), m_path(std::move(path)) {}

std::string FileErrorText(const CFileError& error) {
    const std::string& path = error.Path();
    switch (error.Cause()) {
        case FileErrorCause::kFileNotFound:
            return path + " was not found.";
        case FileErrorCause::kBadPath:
            return path + " contains an invalid path.";
        case FileErrorCause::kTooManyOpenFiles:
            return path + " could not be opened because there are too many open files.";
        case FileErrorCause::kAccessDenied:
            return "Access to " + path + " was denied.";
        case FileErrorCause::kInvalidFile:
            return "An invalid file handle was associated with " + path + ".";
        case FileErrorCause::kNotWave:
            return path + " is not a WAVE file that Pausora can play.";
        case FileErrorCause::kSharingViolation:
            return "A sharing violation occurred while accessing " + path + ".";
        case FileErrorCause::kGeneric:
            break;
    }
    return "An unknown error occurred while accessing " + path + ".";
}

}  // namespace pausora
