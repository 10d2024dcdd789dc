#pragma once
// The address list's own rules (编辑框4), as functions of its text.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace taotu::job {

// The hint that stands in the empty list. It holds no ASCII full stop, so a
// job start refuses it.
const std::string& ListHint();

// The entries of a job: the list cut at every "\r\n".
std::vector<std::string> JobListOf(std::string_view listText);

// Halves every run of line breaks per pass, at most 99 passes.
std::string CollapseBlankLines(std::string_view listText);

// The list's text after it gets the focus / loses the focus.
std::string ListAfterFocusIn(std::string_view listText);
std::string ListAfterFocusOut(std::string_view listText);

// The list's text after the text `dropped` of a file drop (a path, or several
// paths each followed by "\r\n"): a ".txt" file replaces the list with its
// bytes, a ".csv" path becomes one more line. nullopt: the drop changes
// nothing. Either way the caller gives the list the focus when it changed.
std::optional<std::string> ListAfterDrop(std::string_view dropped, std::string_view listText,
                                         platform::FileSystem& files);

}  // namespace taotu::job
