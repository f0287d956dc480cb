#pragma once

#include "ProgramFolders.h"

// Where the program keeps its remembered settings: the per-user settings
// store of this organisation and application.
namespace SettingsKeys {
constexpr const char *organisation = ProgramFolders::organisation;
constexpr const char *application = ProgramFolders::application;
constexpr char currentDirectory[] = "CurrentDirectory";
// OurAirports' two files, last chosen in the Airfields dialog.
constexpr char airportFrequenciesFile[] = "AirportFrequenciesFile";
constexpr char airportsFile[] = "AirportsFile";
// Whether those two files stand in for the airfield data the program keeps.
constexpr char airfieldFilesInUse[] = "AirfieldFilesInUse";
constexpr char airfieldsDialogSize[] = "AirfieldsDialogSize";
} // namespace SettingsKeys
