#pragma once

#include "AirfieldChannels.h"

// The words for what an airfield search found, the same in vkrtool and
// the window.

// "EDDF (Frankfurt am Main Airport)", or the ident alone without a name;
// quoted text cut and escaped as every message does.
QString airfieldText(const Airfield &airfield);

// "23 km (12 NM)"; with one decimal below 10: "4.2 km (2.3 NM)".
QString distanceText(double kilometres);

// "045°", degrees true.
QString bearingText(double degrees);

// One sentence on the airfields left out for one reason, with the nearest
// of them: "3 closed airfields left out, the nearest EDFZ (Mainz-Finthen),
// 12 km (6.5 NM)"; "beyond the nearest 20: the next is EDFE (Egelsbach),
// 23 km (12 NM)".
QString leftOutText(const LeftOutAirfields &leftOut, const AirfieldOptions &options);
