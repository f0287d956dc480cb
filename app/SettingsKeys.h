#pragma once

#include "ProgramFolders.h"

// Where the program keeps its one remembered setting: the per-user settings
// store of this organisation and application.
namespace SettingsKeys {
constexpr const char *organisation = ProgramFolders::organisation;
constexpr const char *application = ProgramFolders::application;
constexpr char currentDirectory[] = "CurrentDirectory";
} // namespace SettingsKeys
