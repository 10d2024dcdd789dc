#pragma once
// One run of the item page worker: the values its steps share, and the small
// operations they all use (fetch, save, log, announce, ensure a folder).
#include <optional>
#include <string>
#include <vector>

#include "job/paths.h"
#include "job/worker_context.h"

namespace taotu::item {

struct ItemRun {
  explicit ItemRun(job::WorkerContext& context) : context(context), window(context.window) {}

  job::WorkerContext& context;
  job::MainWindowPort& window;

  std::string PageText;                // the page, ")" turned into "\""
  std::string ItemId;                  // "520000000001", from "id=" in the address
  std::string ItemFolderName;          // "520000000001_岚川淘图[_title]"; empty without a folder per item
  std::string ItemTitle;               // the cleaned page title
  std::string ItemFolder;              // full path, ends with a backslash
  std::string PackageFolder;           // full path, ends with a backslash
  std::vector<std::string> PageLinks;  // every "http...\"" of PageText, in page order
  int NewFileCount = 0;
  bool DescriptionFound = false;  // a description of this item reached the scratch text

  const std::string& CurrentEntry() const { return context.job.CurrentEntry; }
  // The job folder under `saveFolder`, then ItemFolderName, ending with a
  // backslash.
  std::string ItemFolderFor(const std::string& saveFolder) const;
  bool IsOn(job::Option option) { return window.IsOn(option); }
  void SetStatus(const std::string& message) { context.SetStatus(message); }

  // One GET taken as text (up to its first zero byte); empty on failure,
  // which the transfer service reports.
  std::string FetchText(const std::string& address);
  // The same, nullopt when the fetch failed.
  std::optional<std::string> TryFetchText(const std::string& address);
  // Announce file, then fetch `address` into `path`; false when it failed.
  bool DownloadNewFile(const std::string& address, const std::string& path);
  bool Exists(const std::string& path) { return context.transfers.IsPresent(path); }
  // Writes a whole file; a failure is reported in the download log.
  void Save(const std::string& path, const std::string& bytes);
  void LogAddress(const std::string& address);
  void AnnounceFile();
  void EnsureFolder(const std::string& path) { context.services.files.MakeDirectory(path); }
};

// Every match of "http(.*?)\"" in the text, in order.
std::vector<std::string> HttpLinks(const std::string& text);

// ".jpg", ".gif" or ".png", the first that the address holds, tested in
// that order; ".png" when it holds none of the first two.
std::string PictureExtension(const std::string& address);

// True when the address holds ".jpg", ".gif" or ".png".
bool NamesPicture(const std::string& address);

}  // namespace taotu::item
