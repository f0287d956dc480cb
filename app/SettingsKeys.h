#pragma once

// Where the program keeps its one remembered setting: the per-user settings
// store of this organisation and application.
namespace SettingsKeys {
constexpr char organisation[] = "Corvane";
constexpr char application[] = "VKRFrequencyTool";
constexpr char currentDirectory[] = "CurrentDirectory";
} // namespace SettingsKeys
