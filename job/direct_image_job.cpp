#include "job/direct_image_job.h"

#include "job/paths.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

void DirectImageJob(WorkerContext& context) {
  MainWindowPort& window = context.window;
  window.SetStartButtonCaption("正在下载中……"_gbk);
  context.SetStatus("正在下载，请稍等……"_gbk);
  window.SetProgress(50);

  const std::string address = DeleteAll(context.job.CurrentEntry, "_.webp");
  // An entry that is nothing but "_.webp" names no picture: nothing to log
  // or fetch.
  if (!address.empty()) {
    window.AppendDownloadLog(address + "\r\n");
    const std::string fileName = LastPieceName(address);
    const std::string targetFolder = JobFolderPath(window.SaveFolder(), context.job.JobFolder);
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
