#include "job/main_window_port.h"

namespace taotu::job {

const char* ControlName(Option option) {
  switch (option) {
    case Option::DownloadMain: return "选择框1";
    case Option::DownloadDetail: return "选择框5";
    case Option::DownloadOther: return "选择框6";
    case Option::FolderPerItem: return "选择框2";
    case Option::TitleInFolder: return "选择框7";
    case Option::ExportCsv: return "选择框3";
    case Option::IndependentCsv: return "单选框1";
    case Option::CompositeCsv: return "单选框2";
    case Option::RemoveHyperlinks: return "选择框4";
  }
  return "";
}

}  // namespace taotu::job
