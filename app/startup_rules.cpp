#include "app/startup_rules.h"

#include "text/gbk_text.h"

namespace taotu::app {

bool AnnouncesNewerVersion(std::string_view announcement) {
  if (announcement.empty()) return false;
  // A margin, so "8.20" read back as a double never counts as newer.
  return text::ToNumber(announcement) - kOwnVersion > 0.0000001;
}

std::string StartSaveFolder(std::string_view currentDirectory, std::string_view standIn) {
  if (currentDirectory.find("Rar$") != std::string_view::npos) return std::string(standIn);
  return std::string(currentDirectory);
}

bool NightSupportHour(int hour) { return hour > 17 || hour < 8; }

}  // namespace taotu::app
