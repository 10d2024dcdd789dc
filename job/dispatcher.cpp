#include "job/dispatcher.h"

#include "job/address_list.h"
#include "job/paths.h"
#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

namespace {

// Stands in for a kind of entry this build does not handle yet: the entry is
// reported as a failed transfer, and the job moves on.
void UnhandledEntryJob(WorkerContext& context) {
  context.transfers.ReportFailure(context.job.CurrentEntry, "暂不支持此类地址"_gbk);
  CompleteEntry(context);
}

}  // namespace

WorkerKind ChooseWorker(std::string_view entry) {
  const std::string_view last4 = Right(entry, 4);
  if (Right(entry, 6) == "_.webp" || last4 == ".jpg" || last4 == ".gif" || last4 == ".png") {
    return WorkerKind::DirectImage;
  }
  if (last4 == ".csv") return WorkerKind::CsvPackage;
  if (!entry.empty()) return WorkerKind::ItemPage;
  return WorkerKind::None;
}

const std::string& CounterRestingText() { return "岚川淘图 · 店铺宝贝复制"_gbk; }

JobControl::JobControl(MainWindowPort& window, Services services, Workers workers)
    : window_(window),
      services_(services),
      workers_(workers),
      transfers_(services.http, services.files, window) {}

JobControl::~JobControl() {
  if (worker_.joinable()) worker_.join();
}

StartResult JobControl::Start() {
  // Two jobs must never share the job state.
  if (state_.Running) {
    window_.ShowMessage("正在下载中，请等待本次下载完毕！"_gbk);
    return StartResult::Busy;
  }
  csv_.CsvRow.clear();
  if (!window_.IsOn(Option::DownloadMain) && !window_.IsOn(Option::DownloadDetail) &&
      !window_.IsOn(Option::DownloadOther)) {
    window_.ShowMessage("您还未选择要下载的是主图或细节图或其他图片呢！？"_gbk);
    return StartResult::NoPictureKind;
  }
  const std::string list = window_.AddressList();
  if (!Contains(list, ".")) {
    window_.ShowMessage("宝贝链接还未输入！"_gbk);
    return StartResult::NoAddress;
  }
  window_.SetAddressListEnabled(false);
  window_.SetStartButtonEnabled(false);
  state_.Running = true;
  state_.JobList = JobListOf(list);
  state_.Count = static_cast<int>(state_.JobList.size());
  state_.Index = 1;
  state_.JobFolder = JobFolderName(services_.clock.Now(), state_.Count);
  transfers_.ResetFailedCount();

  const std::string open = "（"_gbk + state_.ProgressText;
  window_.SetStatus(open + "）正在创建文件夹名为："_gbk + state_.JobFolder);
  services_.files.MakeDirectory(JobFolderPath(window_.SaveFolder(), state_.JobFolder));
  window_.SetStatus(open + "）文件夹：《"_gbk + state_.JobFolder + "》已创建成功！"_gbk);
  window_.SetDispatcherTimer(1);
  return StartResult::Started;
}

void JobControl::Tick() {
  window_.SetDispatcherTimer(0);
  if (worker_.joinable()) worker_.join();  // it has handed back already
  if (!state_.Running) return;
  if (state_.Index > state_.Count) {
    EndJob();
    return;
  }
  state_.CurrentEntry = state_.Entry(state_.Index);
  state_.ProgressText = Decimal(state_.Index) + "/" + Decimal(state_.Count);
  switch (ChooseWorker(state_.CurrentEntry)) {
    case WorkerKind::DirectImage: StartWorker(workers_.directImage); break;
    case WorkerKind::CsvPackage: StartWorker(workers_.csvPackage); break;
    case WorkerKind::ItemPage: StartWorker(workers_.itemPage); break;
    case WorkerKind::None:
      // An empty line names nothing: skip it rather than stall the job.
      state_.Index += 1;
      window_.SetDispatcherTimer(1);
      break;
  }
}

void JobControl::EndJob() {
  if (const std::string path = csv_.pendingCompositePath;
      !csvpack::WritePendingCompositePackage(csv_, services_.files)) {
    transfers_.ReportFailure(path, "写入文件失败"_gbk);
  }
  state_.JobFolder.clear();
  state_.Running = false;
  window_.SetStatus("（"_gbk + state_.ProgressText + "）全部下载完毕！"_gbk);
  window_.SetStartButtonCaption("立即下载"_gbk);
  window_.SetStartButtonEnabled(true);
  window_.SetAddressListEnabled(true);
  window_.SetCounter(CounterRestingText());
  window_.ReportFailedTransfers(transfers_.FailedCount());
}

void JobControl::StartWorker(Worker worker) {
  if (!worker) worker = UnhandledEntryJob;
  worker_ = std::thread([this, worker] {
    WorkerContext context{window_, state_, transfers_, services_, csv_};
    worker(context);
  });
}

}  // namespace taotu::job
