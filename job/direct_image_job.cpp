#include "job/direct_image_job.h"

#include "platform/file_names.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

namespace {

// The last piece of the address cut at "/", an empty piece after a final "/"
// not counting; the whole address when it holds no "/".
std::string LastPieceOf(const std::string& address) {
  const std::vector<std::string> pieces = Split(address, "/");
  return pieces.empty() ? std::string() : pieces.back();
}

}  // namespace

void DirectImageJob(WorkerContext& context) {
  MainWindowPort& window = context.window;
  window.SetStartButtonCaption("正在下载中……"_gbk);
  context.SetStatus("正在下载，请稍等……"_gbk);
  window.SetProgress(50);

  const std::string address = DeleteAll(context.job.CurrentEntry, "_.webp");
  window.AppendDownloadLog(address + "\r\n");

  // An entry that is nothing but "_.webp" names no picture.
  if (!address.empty()) {
    const std::string fileName = platform::SafeNamePiece(LastPieceOf(address));
    const std::string targetFolder = JoinPath(window.SaveFolder(), context.job.JobFolder) + "\\";
    const std::string target = targetFolder + fileName;
    if (!context.transfers.IsPresent(target)) {
      window.SetCounter("新下载："_gbk + "1" + "个文件"_gbk);
      context.transfers.Download(address, target);
    }
  }

  window.SetStartButtonCaption("立即下载"_gbk);
  CompleteEntry(context);
}

}  // namespace taotu::job
