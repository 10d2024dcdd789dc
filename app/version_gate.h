#pragma once
// The version announcement: a copy older than the announced one tells the
// user, opens the maker's website and does not start.
#include <QString>
#include <chrono>
#include <string>

class QWidget;

namespace taotu::app {

// "host[:port]" of the announcement: TAOTU_VERSION_HOST, else the maker's.
std::string VersionHost();

// The announcement's text, "" when the request fails or no answer came in
// time. Waits on another thread, serving the caller's events meanwhile.
std::string FetchAnnouncement(const std::string& host, std::chrono::seconds deadline);

// True when this copy must end: a newer version was announced, the user has
// been told and the website opened.
bool VersionGateStops(QWidget* parent, std::chrono::seconds deadline = std::chrono::seconds(3));

}  // namespace taotu::app
