#pragma once
// Ties ".ilf" files to the program on the user's desktop, at every start. On Linux: a desktop
// entry, a shared-mime-info package and the program icon (as application icon and as the
// library files' icon) under $XDG_DATA_HOME (default ~/.local/share), then the desktop's
// caches refreshed. On Windows: the ".ilf" and "Icon_Library_File" keys of the registry.

#include "platform/Bytes.h"

#include <optional>
#include <string>
#include <vector>

namespace pictarium {

// The MIME type of library files and its description.
inline constexpr const char *kLibraryMimeType = "application/x-pictarium-ilf";
inline constexpr const char *kLibraryTypeDescription = "图标库文件";

// What one registration did, for callers that want to know (tests); start-up ignores it.
struct RegistrationReport {
    std::vector<std::string> written;  // files written because their content was not right yet
    std::vector<std::string> toolsRun; // cache tools run (update-mime-database, ...)
};

// Registers programPath as the opener of library files, with iconPng (a PNG image, may be
// empty) as its icon. Best effort: a part that fails is skipped without a message and the
// rest is still done; nothing is thrown. Files whose content is already right are left alone
// and the caches are refreshed only when something changed.
RegistrationReport RegisterFileType(const std::string &programPath, ByteSpan iconPng) noexcept;

// The same for the running program, with the program icon from the resources when present.
void RegisterFileType() noexcept;

// The program path as one argument of a desktop entry's Exec key: double-quoted, with the
// characters special inside quotes escaped, then the string escaping of the file format
// applied and '%' doubled. Nothing for a path with control characters, which no Exec line
// can carry.
std::optional<std::string> desktopExecArgument(const std::string &programPath);

// The desktop entry text for programPath; nothing when the path cannot be quoted.
std::optional<std::string> desktopEntryFor(const std::string &programPath);

} // namespace pictarium
