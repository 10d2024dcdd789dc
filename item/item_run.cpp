#include "item/item_run.h"

#include "platform/file_names.h"
#include "platform/regex.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::item {

using namespace text;

std::string ItemRun::ItemFolderFor(const std::string& saveFolder) const {
  std::string folder = job::JobFolderPath(saveFolder, context.job.JobFolder) + ItemFolderName;
  if (!EndsWithWhole(folder, "\\")) folder += "\\";
  return folder;
}

std::string ItemRun::FetchText(const std::string& address) { return TryFetchText(address).value_or(""); }

std::optional<std::string> ItemRun::TryFetchText(const std::string& address) {
  const std::optional<std::string> bytes = context.transfers.TryFetch(address);
  if (!bytes) return std::nullopt;
  return std::string(UpToZero(*bytes));
}

bool ItemRun::DownloadNewFile(const std::string& address, const std::string& path) {
  AnnounceFile();
  return context.transfers.Download(address, path);
}

void ItemRun::Save(const std::string& path, const std::string& bytes) {
  if (!context.services.files.WriteFile(path, bytes)) {
    context.transfers.ReportFailure(path, "写入文件失败"_gbk);
  }
}

void ItemRun::LogAddress(const std::string& address) { window.AppendDownloadLog(address + "\r\n"); }

void ItemRun::AnnounceFile() {
  NewFileCount += 1;
  window.SetCounter("新下载："_gbk + Decimal(NewFileCount) + "个文件"_gbk);
}

std::vector<std::string> HttpLinks(const std::string& text) {
  static const platform::Regex links("http(.*?)\"");
  return links.FindAll(text);
}

std::string PictureExtension(const std::string& address) {
  if (Contains(address, ".jpg")) return ".jpg";
  if (Contains(address, ".gif")) return ".gif";
  return ".png";
}

bool NamesPicture(const std::string& address) {
  return Contains(address, ".jpg") || Contains(address, ".gif") || Contains(address, ".png");
}

}  // namespace taotu::item
