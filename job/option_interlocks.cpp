#include "job/option_interlocks.h"

namespace taotu::job {
namespace {

// One accessor for reading and for clicking.
template <class States>
auto& Field(States& s, Option option) {
  switch (option) {
    case Option::DownloadMain: return s.downloadMain;
    case Option::DownloadDetail: return s.downloadDetail;
    case Option::DownloadOther: return s.downloadOther;
    case Option::FolderPerItem: return s.folderPerItem;
    case Option::TitleInFolder: return s.titleInFolder;
    case Option::ExportCsv: return s.exportCsv;
    case Option::IndependentCsv: return s.independentCsv;
    case Option::CompositeCsv: return s.compositeCsv;
    case Option::RemoveHyperlinks: return s.removeHyperlinks;
  }
  return s.downloadMain;
}

// The rule of a check box, run after its click gave it the state `on`.
void RunRule(OptionStates& s, Option clicked, bool on) {
  switch (clicked) {
    case Option::TitleInFolder:
      if (on) s.folderPerItem = true;
      break;
    case Option::FolderPerItem:
      if (!on) {
        s.exportCsv = false;
        s.packageKindEnabled = false;
        s.titleInFolder = false;
      }
      break;
    case Option::DownloadDetail:
      if (!on) {
        s.exportCsv = false;
        s.packageKindEnabled = false;
        s.removeHyperlinks = false;
      }
      break;
    case Option::ExportCsv:
      if (on) s.downloadDetail = true;
      s.packageKindEnabled = on;
      break;
    default: break;
  }
}

}  // namespace

bool OptionStates::IsOn(Option option) const { return Field(*this, option); }

bool& OptionStates::At(Option option) { return Field(*this, option); }

void Click(OptionStates& states, Option option, bool on) {
  if (option == Option::IndependentCsv || option == Option::CompositeCsv) {
    if (!on) return;  // a radio button is never clicked off
    states.independentCsv = option == Option::IndependentCsv;
    states.compositeCsv = option == Option::CompositeCsv;
    return;
  }
  bool& field = Field(states, option);
  if (field == on) return;
  field = on;
  RunRule(states, option, on);
}

}  // namespace taotu::job
