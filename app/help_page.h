#pragma once
// The help page: written into the user's data folder the first time it is
// asked for, then opened in the browser.
#include <QString>

namespace taotu::app {

QString HelpPagePath();

// Writes the page unless a file of that name exists, then opens it. False
// when it could not be written or opened.
bool OpenHelpPage();

}  // namespace taotu::app
