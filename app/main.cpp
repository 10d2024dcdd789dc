#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QMessageBox>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/startup_rules.h"
#include "app/tray_and_menu.h"
#include "app/version_gate.h"
#include "job/dispatcher.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QFont font = application.font();
  font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun"), font.family()});
  font.setPixelSize(12);
  application.setFont(font);

  taotu::platform::PathCodec paths;
  taotu::platform::NativeFileSystem files(paths);
  const auto http = taotu::platform::MakeHttpClient(taotu::platform::LimitsFromEnvironment());
  const taotu::platform::SystemClock clock;

  taotu::app::MainWindow window(paths, files);

  taotu::app::SingleInstance instance(taotu::app::SingleInstance::NameFor(window.windowTitle()));
  if (!instance.Claim()) {
    QMessageBox refusal(QMessageBox::NoIcon, QStringLiteral("岚川提醒您："),
                        QStringLiteral("请不要重复打开《岚川淘宝图片搬家工具》！"), QMessageBox::Ok);
    refusal.exec();
    return 0;
  }
  QObject::connect(&instance, &taotu::app::SingleInstance::ShowRequested, &window,
                   [&window] { taotu::app::BringToFront(&window); });

  if (taotu::app::VersionGateStops(nullptr)) return 0;

  // No drive root to fall back on here: the home folder stands in for "c:\".
  const std::string current = QFile::encodeName(QDir::currentPath()).toStdString();
  window.SetSaveFolder(
      taotu::app::StartSaveFolder(current, QFile::encodeName(QDir::homePath()).toStdString()));

  auto* menu = new taotu::app::ContextMenu(&window);
  new taotu::app::TrayIcon(&window, menu->Menu());
  // A window hidden in the tray closes without ending the event loop.
  QObject::connect(menu->CloseAction(), &QAction::triggered, &application, &QApplication::quit,
                   Qt::QueuedConnection);

  taotu::job::JobControl control(window, {*http, files, clock});
  window.SetJobControl(&control);
  window.show();

  const int code = application.exec();
  window.FinishCurrentEntry();
  return code;
}
