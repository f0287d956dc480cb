#pragma once

#include <QString>

// The airfield data vkrtool uses when no files are named: OurAirports'
// two files kept in the program's data folder, which the window uses too,
// downloaded on first use or when asked.
namespace KeptAirfieldData {

// The folder the data is kept in (AirfieldData).
QString dataFolder();

// Downloads the data from the address of the settings (or
// VKR_OURAIRPORTS_URL), with a progress line when standard error is a
// terminal; Ctrl+C cancels it. The exit code: 0 when the data came, else
// having said why and what data stays in use.
int download();

} // namespace KeptAirfieldData
