#pragma once
// Start-up decisions without Qt, so they are tested bare.
#include <string>
#include <string_view>

namespace taotu::app {

inline constexpr double kOwnVersion = 8.2;

// Whether the announced version text names a newer copy than this one; empty
// or non-numeric text never does.
bool AnnouncesNewerVersion(std::string_view announcement);

// The save location at start: the current directory, unless the program runs
// from an archiver's unpack folder ("Rar$" in the path), which vanishes once
// the archiver closes; then `standIn`.
std::string StartSaveFolder(std::string_view currentDirectory, std::string_view standIn);

// Whether the support chat goes to the evening contact: from 18:00 to 07:59.
bool NightSupportHour(int hour);

}  // namespace taotu::app
