#include "app/version_gate.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>
#include <future>
#include <memory>
#include <thread>

#include "app/maker_addresses.h"
#include "app/startup_rules.h"
#include "platform/http.h"

namespace taotu::app {

std::string VersionHost() {
  const QByteArray host = qgetenv("TAOTU_VERSION_HOST");
  return host.isEmpty() ? std::string(maker::kVersionHost) : host.toStdString();
}

std::string FetchAnnouncement(const std::string& host, std::chrono::seconds deadline) {
  platform::HttpLimits limits;
  limits.connectTimeout = deadline;
  limits.stallTimeout = deadline;
  limits.totalTimeout = deadline;
  limits.maxBodyBytes = 4096;
  const std::string address = "http://" + host + maker::kVersionPath;

  auto answer = std::make_shared<std::promise<std::string>>();
  std::future<std::string> text = answer->get_future();
  std::thread fetch([address, limits, answer] {
    const platform::HttpResult result = platform::MakeHttpClient(limits)->Get(address);
    answer->set_value(result.ok() ? result.body : std::string());
  });
  // The client ends itself at `deadline`; the extra second is for it to say so.
  const QDeadlineTimer until(deadline + std::chrono::seconds(1));
  while (text.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready && !until.hasExpired()) {
    QCoreApplication::processEvents();
  }
  if (text.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
    fetch.detach();  // owns all it uses; must not hold up the start
    return {};
  }
  fetch.join();
  return text.get();
}

bool VersionGateStops(QWidget* parent, std::chrono::seconds deadline) {
  if (!AnnouncesNewerVersion(FetchAnnouncement(VersionHost(), deadline))) return false;
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), QStringLiteral("请下载最新版本"),
                  QMessageBox::Ok, parent);
  box.exec();
  QDesktopServices::openUrl(QUrl(QString::fromUtf8(maker::kWebsite)));
  return true;
}

}  // namespace taotu::app
