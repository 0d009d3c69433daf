#include "sound/wave_file.h"

#include "store/locale_formats.h"

#include <utility>

namespace pausora {

CFileError::CFileError(FileErrorCause cause, std::string path)
    : std::runtime_error("file error"), m_cause(cause), m_path(std::move(path)) {}

std::string_view FileErrorPattern(FileErrorCause cause) {
    switch (cause) {
        case FileErrorCause::kFileNotFound:
            return "%1 was not found.";
        case FileErrorCause::kBadPath:
            return "%1 contains an invalid path.";
        case FileErrorCause::kTooManyOpenFiles:
            return "%1 could not be opened because there are too many open files.";
        case FileErrorCause::kAccessDenied:
            return "Access to %1 was denied.";
        case FileErrorCause::kInvalidFile:
            return "An invalid file handle was associated with %1.";
        case FileErrorCause::kNotWave:
            return "%1 is not a WAVE file that Pausora can play.";
        case FileErrorCause::kSharingViolation:
            return "A sharing violation occurred while accessing %1.";
        case FileErrorCause::kGeneric:
            break;
    }
    return "An unknown error occurred while accessing %1.";
}

std::string FileErrorText(const CFileError& error) {
    return FileErrorText(error, FileErrorPattern(error.Cause()));
}

std::string FileErrorText(const CFileError& error, std::string_view pattern) {
    return Fill(pattern, {error.Path()});
}

}  // namespace pausora
