#pragma once

#include "ProgramFolders.h"

// Where the program keeps its remembered settings: the per-user settings
// store of this organisation and application.
namespace SettingsKeys {
constexpr const char *organisation = ProgramFolders::organisation;
constexpr const char *application = ProgramFolders::application;
constexpr char currentDirectory[] = "CurrentDirectory";
// OurAirports' two files, last used for airfield channels.
constexpr char airportFrequenciesFile[] = "AirportFrequenciesFile";
constexpr char airportsFile[] = "AirportsFile";
} // namespace SettingsKeys
