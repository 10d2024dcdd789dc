#include "job/csv_package_job.h"

#include "job/paths.h"
#include "platform/codepage.h"
#include "platform/file_names.h"
#include "text/codecs.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

namespace {

// The file's name without ".csv" (in any letter case, wherever it stands)
// and without its folders, cut at backslashes and at the native separator.
std::string BaseNameOf(const std::string& entry) {
  std::string name;
  for (std::size_t i = 0; i < entry.size();) {
    if (i + 4 <= entry.size() && (entry[i] == '.') && (entry[i + 1] | 0x20) == 'c' &&
        (entry[i + 2] | 0x20) == 's' && (entry[i + 3] | 0x20) == 'v') {
      i += 4;
      continue;
    }
    const std::size_t n = (static_cast<unsigned char>(entry[i]) >= 0x80 && i + 1 < entry.size()) ? 2 : 1;
    name.append(entry, i, n);
    i += n;
  }
  std::vector<std::string> pieces = Split(ReplaceAll(name, "/", "\\"), "\\");
  return pieces.empty() ? std::string() : pieces.back();
}

// The package as GBK text. Taobao Assistant writes UCS-2 with a byte-order
// mark; without one the order is read off where the zero bytes of ASCII
// characters fall, and a file without zero bytes is UTF-8 or GBK text.
std::string PackageTextOf(const std::string& bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
    return std::string(UpToZero(Ucs2ToGbk(bytes)));
  std::size_t evenZeros = 0, oddZeros = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\0') ++(i % 2 == 0 ? evenZeros : oddZeros);
  }
  if (evenZeros + oddZeros == 0) {
    const bool utf8 = platform::IsValidUtf8(bytes);
    return utf8 ? platform::Utf8ToGbk(bytes) : bytes;
  }
  const std::string marked = (oddZeros > evenZeros ? "\xFF\xFE" : "\xFE\xFF") + bytes;
  return std::string(UpToZero(Ucs2ToGbk(marked)));
}

struct Pass {
  std::string_view marker;  // "\"http://"
  std::string_view end;     // "\""
};

void RunPass(WorkerContext& context, const std::string& packageText, const Pass& pass,
             const std::string& folder, int& newFileCount) {
  context.services.files.MakeDirectory(folder);
  const std::vector<std::string> pieces = Split(packageText, pass.marker);
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    const std::vector<std::string> cut = Split(pieces[i], pass.end);
    // A marker right before its end character names no address.
    if (cut.empty() || cut[0].empty()) continue;
    const std::string address = "http://" + cut[0];
    const std::string fileName = LastPieceName(address);
    if (context.transfers.IsPresent(folder + fileName)) continue;
    context.transfers.Download(address, folder + fileName);
    context.window.AppendDownloadLog(address + "\r\n");
    newFileCount += 1;
    context.window.SetCounter("新下载："_gbk + Decimal(newFileCount) + "个文件"_gbk);
  }
}

}  // namespace

void CsvPackageJob(WorkerContext& context) {
  MainWindowPort& window = context.window;
  window.SetStartButtonCaption("正在下载中……"_gbk);
  context.SetStatus("正在下载，请稍等……"_gbk);
  window.SetProgress(30);

  const std::string csvPictureFolder = JobFolderPath(window.SaveFolder(), context.job.JobFolder) +
                                       platform::SafeNamePiece(BaseNameOf(context.job.CurrentEntry)) +
                                       "CSV文件淘图\\"_gbk;
  context.services.files.MakeDirectory(csvPictureFolder);

  const auto bytes = context.services.files.ReadFile(context.job.CurrentEntry);
  if (!bytes) context.transfers.ReportFailure(context.job.CurrentEntry, "无法读取文件"_gbk);
  const std::string packageText = PackageTextOf(bytes.value_or(""));

  int newFileCount = 0;
  if (Contains(packageText, "\"http://")) {
    RunPass(context, packageText, {"\"http://", "\""}, csvPictureFolder + "宝贝详情\\"_gbk, newFileCount);
  }
  window.SetProgress(60);
  if (Contains(packageText, "|http://")) {
    RunPass(context, packageText, {"|http://", ";"}, csvPictureFolder + "宝贝主图及属性图\\"_gbk,
            newFileCount);
  }
  CompleteEntry(context);
}

}  // namespace taotu::job
