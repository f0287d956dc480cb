#pragma once

// Where the program keeps its remembered settings: the per-user settings
// store of this organisation and application.
namespace SettingsKeys {
constexpr char organisation[] = "Corvane";
constexpr char application[] = "VKRFrequencyTool";
constexpr char currentDirectory[] = "CurrentDirectory";
// OurAirports' two files, last used for airfield channels.
constexpr char airportFrequenciesFile[] = "AirportFrequenciesFile";
constexpr char airportsFile[] = "AirportsFile";
} // namespace SettingsKeys
