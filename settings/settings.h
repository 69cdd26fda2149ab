// The settings file ".\Rimbeacon.ini" in the current directory, section
// "Rimbeacon", read and written one key at a time through the Windows
// profile functions, with no caching. Results of the profile functions are
// not examined: a failed read leaves the default, a failed write is lost.
#pragma once

#include "core/fitment.h"

// Reads InRim, InOffset, InIn and OutRim (defaults "6.5", "45", "20", "7")
// into the first four fields, each cut to 255 bytes; a double-byte character
// that does not fit whole is left out, never kept as a lone lead byte. Values
// come back without the blanks around them and one enclosing pair of quotes.
// A key present with an empty value reads empty; the default applies only to
// a missing key or file. Never creates the file. OutOffset is left as it is.
void LoadInputs(WheelFields& fields);

// Writes InRim, InOffset, InIn and OutRim, in that order, as the fields hold
// them. Never writes OutOffset.
void SaveInputs(const WheelFields& fields);

// On exactly when the first character of TopMost as read is '1' (default
// "0", 32-byte buffer): "1", "10", "1x" and " 1" are on; "0", "", "yes" off.
bool LoadTopMost();

// Writes TopMost as "1" or "0".
void SaveTopMost(bool on);
