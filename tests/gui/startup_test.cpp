// Start-up and the window's periphery as a user meets them: the version
// announcement from the local test site, a second copy, the tray icon, the
// pop-up menu and the help page.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>
#include <QUuid>
#include <QtTest>
#include <chrono>

#include "app/help_page.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "app/tray_and_menu.h"
#include "app/version_gate.h"
#include "platform/file_system.h"
#include "support/test_site.h"

using namespace taotu;

namespace {

// Takes the addresses the program opens, so that no browser starts.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void Open(const QUrl& url) { opened.append(url); }
};

// Answers the next application-modal message box with OK and keeps what it
// said; gives up after `deadline`.
struct BoxAnswerer {
  QString title, text;
  QTimer timer;
  QElapsedTimer started;

  explicit BoxAnswerer(std::chrono::milliseconds deadline = std::chrono::seconds(20)) {
    started.start();
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [this, deadline] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
        timer.stop();
      } else if (started.elapsed() > deadline.count()) {
        timer.stop();
      }
    });
    timer.start();
  }
};

QStringList MenuLayout(QMenu* menu) {
  QStringList layout;
  for (QAction* action : menu->actions())
    layout << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return layout;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &urls_, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &urls_, "Open");
  }
  void init() { urls_.opened.clear(); }

  void newerVersionStops() {
    testing::TestSite site;
    PointAtSite(site);
    const std::string announcement = "http://127.0.0.1:" + std::to_string(site.Port()) + "/vorn/var.txt";

    site.Serve(announcement, testing::Answer(200, "8.3"));
    BoxAnswerer answerer;
    QVERIFY(app::VersionGateStops(nullptr));
    QCOMPARE(answerer.title, QStringLiteral("信息："));
    QCOMPARE(answerer.text, QStringLiteral("请下载最新版本"));
    QCOMPARE(urls_.opened.size(), 1);
    QCOMPARE(urls_.opened.front().scheme(), QStringLiteral("http"));
    QCOMPARE(site.RequestCount(announcement), 1);
  }

  void sameVersionOrNoAnswerStarts() {
    testing::TestSite site;
    PointAtSite(site);
    const std::string announcement = "http://127.0.0.1:" + std::to_string(site.Port()) + "/vorn/var.txt";

    BoxAnswerer answerer;  // a wrong stop must fail, not wait for the user
    site.Serve(announcement, testing::Answer(200, "8.2"));
    QVERIFY(!app::VersionGateStops(nullptr));
    site.Serve(announcement, testing::Answer(404, "9"));
    QVERIFY(!app::VersionGateStops(nullptr));

    site.Serve(announcement, testing::Answer(200, "9", testing::Reply::Fault::Hang));
    QElapsedTimer waited;
    waited.start();
    QVERIFY(!app::VersionGateStops(nullptr, std::chrono::seconds(1)));
    QVERIFY2(waited.elapsed() < 4000, "a silent server held up the start");
    QVERIFY(urls_.opened.isEmpty());
    QCOMPARE(site.RequestCount(announcement), 3);
  }

  void secondCopyShowsTheFirst() {
    const QString name = app::SingleInstance::NameFor(QUuid::createUuid().toString());
    QWidget window;
    window.showMinimized();
    {
      app::SingleInstance first(name);
      QVERIFY(first.Claim());
      connect(&first, &app::SingleInstance::ShowRequested, &window,
              [&window] { app::BringToFront(&window); });

      app::SingleInstance second(name);
      QVERIFY(!second.Claim());
      QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
      QVERIFY(window.isVisible());
    }
    // The name goes with the first copy.
    app::SingleInstance later(name);
    QVERIFY(later.Claim());
  }

  void trayDoubleClickToggles() {
    QWidget window;
    auto* menu = new app::ContextMenu(&window);
    auto* tray = new app::TrayIcon(&window, menu->Menu());
    QCOMPARE(tray->Icon()->toolTip(), QStringLiteral("岚川淘宝图片搬家工具"));
    QCOMPARE(tray->Icon()->contextMenu(), menu->Menu());
    window.show();
    emit tray->Icon()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(!window.isVisible());
    emit tray->Icon()->activated(QSystemTrayIcon::Trigger);
    QVERIFY(!window.isVisible());
    emit tray->Icon()->activated(QSystemTrayIcon::DoubleClick);
    QVERIFY(window.isVisible());
  }

  void menuPopsWhereItShould() {
    platform::PathCodec paths;
    platform::NativeFileSystem files(paths);
    app::MainWindow window(paths, files);
    auto* menu = new app::ContextMenu(&window);
    QCOMPARE(menu->Menu()->objectName(), QStringLiteral("右键菜单"));
    QCOMPARE(MenuLayout(menu->Menu()),
             QStringList({"打开作者淘宝店", "收藏作者淘宝店", "收藏客服淘宝店", "-", "打开官方网站",
                          "下载新版本", "-", "使用帮助", "关闭程序"}));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto* picture = window.findChild<QLabel*>(QStringLiteral("画板1"));
    auto* label = window.findChild<QLabel*>(QStringLiteral("透明标签9"));
    QVERIFY(picture && label);
    struct Press {
      QWidget* where;
      QPoint at;
      Qt::MouseButton button;
      bool pops;
    };
    const Press presses[] = {
        {&window, {1060, 640}, Qt::RightButton, true}, {&window, {1060, 640}, Qt::LeftButton, false},
        {picture, {10, 10}, Qt::RightButton, true},    {label, {10, 10}, Qt::LeftButton, true},
        {label, {10, 10}, Qt::RightButton, true},  // the label lets it through to the background
    };
    for (const Press& press : presses) {
      QTest::mousePress(press.where, press.button, {}, press.at);
      if (press.pops) QTRY_VERIFY_WITH_TIMEOUT(menu->Menu()->isVisible(), 5000);
      QCOMPARE(menu->Menu()->isVisible(), press.pops);
      menu->Menu()->hide();
    }

    menu->CloseAction()->trigger();
    QVERIFY(!window.isVisible());
  }

  void labelsOpenTheirPages() {
    platform::PathCodec paths;
    platform::NativeFileSystem files(paths);
    app::MainWindow window(paths, files);
    auto* menu = new app::ContextMenu(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QFile::remove(app::HelpPagePath());

    QTest::mousePress(window.findChild<QLabel*>(QStringLiteral("透明标签8")), Qt::LeftButton, {}, {10, 10});
    QTest::mousePress(window.findChild<QLabel*>(QStringLiteral("透明标签4")), Qt::LeftButton, {}, {10, 10});
    QTest::mousePress(window.findChild<QLabel*>(QStringLiteral("画板1")), Qt::LeftButton, {}, {10, 10});
    QCOMPARE(urls_.opened.size(), 3);
    QCOMPARE(urls_.opened[0], QUrl::fromLocalFile(app::HelpPagePath()));
    QVERIFY(QFileInfo::exists(app::HelpPagePath()));
    QCOMPARE(urls_.opened[1].scheme(), QStringLiteral("http"));
    QVERIFY(urls_.opened[2] != urls_.opened[1]);
    QVERIFY(!menu->Menu()->isVisible());
    QVERIFY(QFile::remove(app::HelpPagePath()));
  }

  void helpPageIsWrittenOnceAndOpened() {
    QWidget window;
    auto* menu = new app::ContextMenu(&window);
    QAction* help = nullptr;
    for (QAction* action : menu->Menu()->actions()) {
      if (action->text() == QStringLiteral("使用帮助")) help = action;
    }
    QVERIFY(help);
    const QString path = app::HelpPagePath();
    QFile::remove(path);

    help->trigger();
    QFile page(path);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    page.close();
    QVERIFY(text.contains(QStringLiteral("淘宝助理")));
    QVERIFY(text.contains(QStringLiteral("智能分类保存")));
    QCOMPARE(urls_.opened, QList<QUrl>({QUrl::fromLocalFile(path)}));

    // The user's own copy stays.
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("mine");
    page.close();
    help->trigger();
    QVERIFY(page.open(QIODevice::ReadOnly));
    QCOMPARE(page.readAll(), QByteArray("mine"));
    QCOMPARE(urls_.opened.size(), 2);
    QVERIFY(QFile::remove(path));
  }

 private:
  static void PointAtSite(const testing::TestSite& site) {
    qputenv("TAOTU_VERSION_HOST", ("127.0.0.1:" + std::to_string(site.Port())).c_str());
    // Whatever proxy the environment names, the request stays on the site.
    qputenv("http_proxy", site.ProxyUrl().c_str());
    qunsetenv("no_proxy");
    qunsetenv("NO_PROXY");
  }

  UrlCatcher urls_;
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
