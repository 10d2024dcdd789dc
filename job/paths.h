#pragma once
// The pieces of the paths every worker builds: GBK text, backslashes.
#include <string>
#include <string_view>

namespace taotu::job {

// `folder` and `name` joined by one backslash (none added when `folder`
// already ends with one).
std::string JoinPath(std::string_view folder, std::string_view name);

// The job's folder under the save location, ending with a backslash.
std::string JobFolderPath(std::string_view saveFolder, std::string_view jobFolder);

// The last piece of an address cut at "/" (query and all; an empty piece
// after a final "/" does not count), made safe as a file name.
std::string LastPieceName(std::string_view address);

}  // namespace taotu::job
