#pragma once
// The cores of the three imports: module icons (one new node per module), icon files (each
// file's bytes whole) and bitmap files (each scaled into one 16-colour icon). They read and
// build everything first and change nothing; the caller installs the result.

#include "library/FileStep.h"
#include "library/IconBlock.h"
#include "platform/Bytes.h"
#include "platform/Icon.h"
#include "platform/ModuleIcons.h"

#include <optional>
#include <string>
#include <vector>

namespace pictarium {

// What the shell's extraction gives for icon index of a module: the group's image for the
// large-icon size made into an icon, or nothing.
std::optional<Icon> extractModuleIcon(const ModuleIcons &module, std::size_t index);

// A module's icons ready to become a node.
struct ModuleImport {
    Bytes title;      // ANSI bytes of the file's base name
    TIconBlock block; // Count = the module's icon count; empty slots for icons not stored
};

// The node content for the module at path: entry i is the 16-colour ICO image of icon i, or
// an empty slot when the icon cannot be extracted or encoded. Nothing when no file exists at
// path, or when the module reports no icons and createEmpty is false. A file that exists but
// cannot be read throws PlatformError "Cannot open file %s".
std::optional<ModuleImport> ImportModuleIcons(const std::string &path, bool createEmpty);
// The same over a module already read, with the title taken from path.
ModuleImport importModule(const ModuleIcons &module, const std::string &path);

// One entry per file, holding the file's bytes unchanged (an empty file: an empty slot).
// Throws PlatformError "Cannot open file %s" at the first file that cannot be read.
TIconBlock importIconFiles(const std::vector<std::string> &paths);
// The same with step called before each file; nothing when step stops the run.
std::optional<TIconBlock> importIconFiles(const std::vector<std::string> &paths, const FileStep &step);

// The entry of one bitmap file: the picture scaled into a 32 x 32 or 16 x 16 icon with an
// all-opaque mask, in the 16-colour ICO form. Throws PlatformError with the reader's message.
Bytes bitmapFileEntry(const std::string &path);
// One such entry per file, in order; the first failure throws and nothing is returned.
TIconBlock importBitmapFiles(const std::vector<std::string> &paths);
std::optional<TIconBlock> importBitmapFiles(const std::vector<std::string> &paths, const FileStep &step);

// The lower-cased extension of a path's file name, dot included ("" when it has none).
std::string lowerExtension(const std::string &path);
// Whether the path names an EXE or DLL module (by its extension, in any case).
bool isModuleFile(const std::string &path);

} // namespace pictarium
