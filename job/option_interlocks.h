#pragma once
// The options of the main window and the rules that tie them together. The
// rules run only for a user's click, after the click changed the state; a
// change made by a rule never runs another rule.
#include "job/main_window_port.h"

namespace taotu::job {

struct OptionStates {
  bool downloadMain = true;        // 选择框1
  bool downloadDetail = true;      // 选择框5
  bool downloadOther = true;       // 选择框6
  bool folderPerItem = true;       // 选择框2
  bool titleInFolder = false;      // 选择框7
  bool exportCsv = true;           // 选择框3
  bool independentCsv = false;     // 单选框1
  bool compositeCsv = true;        // 单选框2
  bool removeHyperlinks = true;    // 选择框4
  bool packageKindEnabled = true;  // 单选框1 and 单选框2 are enabled

  bool IsOn(Option option) const;
  // The state itself, for a window that mirrors its controls here.
  bool& At(Option option);
};

// The user clicks `option` so that it reads `on`. A check box that already
// reads `on` is not clicked; a radio button is selected (and the other one
// deselected) when `on`.
void Click(OptionStates& states, Option option, bool on);

}  // namespace taotu::job
