#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>

#include "app/main_window.h"
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
  window.SetSaveFolder(QFile::encodeName(QDir::currentPath()).toStdString());
  taotu::job::JobControl control(window, {*http, files, clock});
  window.SetJobControl(&control);
  window.show();

  const int code = application.exec();
  window.FinishCurrentEntry();
  return code;
}
