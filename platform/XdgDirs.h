#pragma once
// Where per-user files live on a Linux desktop (XDG base directories).

#include <string>

namespace pictarium {

// The user's home folder: $HOME, else the account's entry.
std::string homeFolder();
// $XDG_CONFIG_HOME, or ~/.config when that is unset, empty or not an absolute path.
std::string xdgConfigHome();
// $XDG_DATA_HOME, or ~/.local/share when that is unset, empty or not an absolute path.
std::string xdgDataHome();
// Creates the folder and any missing parents; true when it is a folder afterwards.
bool makeDirectories(const std::string &path);

} // namespace pictarium
