// The main window driven as a user drives it: controls found by name, clicks,
// focus changes, drops and a job against the local test site.
#include "app/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <atomic>
#include <memory>
#include <thread>

#include "app/qt_text.h"
#include "job/address_list.h"
#include "job/dispatcher.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "support/test_site.h"

using namespace taotu;

namespace {

const QString kHint = app::ToQt(job::ListHint());

// The window as main() wires it, with the save location in a folder of its own.
struct Rig {
  platform::PathCodec paths;
  platform::NativeFileSystem files{paths};
  std::unique_ptr<platform::HttpClient> http = platform::MakeHttpClient(platform::LimitsFromEnvironment());
  platform::SystemClock clock;
  QTemporaryDir saveFolder;
  app::MainWindow window{paths, files};
  job::JobControl control{window, {*http, files, clock}};

  Rig() {
    window.SetSaveFolder(QFile::encodeName(saveFolder.path()).toStdString());
    window.SetJobControl(&control);
  }
  ~Rig() { window.FinishCurrentEntry(); }

  template <class T = QWidget>
  T* Find(const char* name) {
    T* found = window.findChild<T*>(QString::fromUtf8(name));
    if (!found) qFatal("no control %s", name);
    return found;
  }
  QAbstractButton* Button(const QString& name) { return Find<QAbstractButton>(name.toUtf8().constData()); }
  QPlainTextEdit* List() { return Find<QPlainTextEdit>("编辑框4"); }

  bool ShowAndActivate() {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
  }
};

QString TextOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return edit->toPlainText();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  return {};
}

const QStringList kOptionNames = {"选择框1", "选择框5", "选择框6", "选择框2", "选择框7",
                                  "选择框3", "单选框1", "单选框2", "选择框4"};
const QStringList kDefaultOptions = {"选择框1", "选择框5", "选择框6", "选择框2",
                                     "选择框3", "单选框2", "选择框4"};

QStringList CheckedOptions(Rig& rig) {
  QStringList checked;
  for (const QString& name : kOptionNames) {
    if (rig.Button(name)->isChecked()) checked << name;
  }
  return checked;
}

QStringList Without(QStringList names, const QStringList& removed) {
  for (const QString& name : removed) names.removeAll(name);
  return names;
}

QStringList With(QStringList names, const QStringList& added) {
  QStringList ordered;
  for (const QString& name : kOptionNames) {
    if (names.contains(name) || added.contains(name)) ordered << name;
  }
  return ordered;
}

// As the user would: on the indicator, which every style counts as the button.
void UserClick(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

QMessageBox* ShownMessage(QWidget& window) {
  for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
    if (box->isVisible()) return box;
  }
  return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void windowFrame();
  void initialControls_data();
  void initialControls();
  void interlocks_data();
  void interlocks();
  void programChangesRunNoRule();
  void addressListFocusAndDoubleClick_data();
  void addressListFocusAndDoubleClick();
  void fileDrops_data();
  void fileDrops();
  void refusedStarts_data();
  void refusedStarts();
  void logs();
  void browseCancelKeepsFolder();
  void jobRunsToItsEnd();
  void closingMidJobFinishesTheEntry();
};

void MainWindowTest::windowFrame() {
  Rig rig;
  QCOMPARE(rig.window.windowTitle(), QString("《岚川淘宝图片搬家工具》 淘宝、天猫、1688阿里图片批量下载器 "
                                             "（包含CSS图片分析并下载）店铺宝贝复制 V8.2"));
  QCOMPARE(rig.window.geometry(), QRect(50, 50, 1068, 648));
  QVERIFY(!rig.Find<QTimer>("时钟3")->isActive());
  QCOMPARE(rig.Find<QProgressBar>("进度条1")->value(), 0);
  QCOMPARE(rig.Find<QProgressBar>("进度条1")->maximum(), 100);
}

void MainWindowTest::initialControls_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<QString>("text");  // null: not fixed
  QTest::addColumn<int>("checked");   // -1: no check state
  QTest::addColumn<bool>("enabled");
  QTest::addColumn<bool>("shown");

  const QString tips =
      "您知道吗？\n\n"
      "　　1、可以复制淘宝、天猫、阿里的商品描述地址，或图片地址，或淘宝加密的图片地址。\n\n"
      "　　2、导出的CSV数据包，需要用淘宝助理导入然后上传到自已的店铺中，部分属性上传时需手动修改。\n\n"
      "　　3、可以将含有每行一个网址的TXT文档直接拖进来。\n\n"
      "　　4、可以把包含淘宝助理导出的外部链接的CSV数据包直接拖进来下载图片到本地。";
  struct Row {
    const char* name;
    const char* kind;
    QRect place;
    QString text;
    int checked;
    bool enabled = true;
    bool shown = true;
  };
  const Row rows[] = {
      {"编辑框4", "QPlainTextEdit", {72, 3, 816, 309}, kHint, -1},
      {"透明标签5", "QLabel", {8, 145, 88, 24}, "淘宝地址：", -1},
      {"按钮3", "QPushButton", {920, 272, 120, 32}, "整店宝贝下载", -1},
      {"选择框1", "QCheckBox", {16, 325, 88, 24}, "下载主图", 1},
      {"选择框5", "QCheckBox", {111, 325, 98, 24}, "下载细节图", 1},
      {"选择框6", "QCheckBox", {220, 325, 100, 24}, "下载其他图", 1},
      {"选择框2", "QCheckBox", {334, 325, 113, 24}, "智能分类保存", 1},
      {"选择框7", "QCheckBox", {448, 325, 112, 24}, "显示宝贝标题", 0},
      {"选择框3", "QCheckBox", {568, 325, 116, 24}, "导出CSV数据包", 1},
      {"单选框1", "QRadioButton", {676, 325, 80, 24}, "独立包", 0},
      {"单选框2", "QRadioButton", {748, 329, 72, 16}, "复合包", 1},
      {"选择框4", "QCheckBox", {827, 325, 128, 24}, "自动删除超链接", 1},
      {"透明标签3", "QLabel", {8, 358, 88, 24}, "保存位置：", -1},
      {"编辑框2", "QLineEdit", {72, 358, 512, 24}, QString(), -1, false},
      {"按钮1", "QPushButton", {592, 358, 56, 24}, "浏览", -1},
      {"按钮5", "QPushButton", {656, 358, 72, 24}, "打开文件夹", -1},
      {"透明标签1", "QLabel", {15, 405, 64, 24}, "CSS地址：", -1},
      {"编辑框1", "QPlainTextEdit", {72, 388, 656, 58}, "", -1},
      {"透明标签6", "QLabel", {8, 501, 88, 24}, "图片文件：", -1},
      {"编辑框3", "QPlainTextEdit", {72, 453, 488, 120}, "", -1},
      {"按钮2", "QPushButton", {579, 479, 145, 40}, "立即下载", -1},
      {"透明标签4", "QLabel", {565, 533, 168, 49}, app::ToQt(job::CounterRestingText()), -1},
      {"进度条1", "QProgressBar", {16, 582, 704, 9}, QString(), -1},
      {"标签1", "QLabel", {16, 599, 456, 16}, "欢迎使用《岚川淘宝图片搬家工具》，快速打造您的网络商城！", -1},
      {"编辑框5", "QPlainTextEdit", {0, 0, 0, 0}, "", -1, true, false},
      {"透明标签8", "QLabel", {904, 12, 147, 278}, tips, -1},
  };
  for (const Row& row : rows) {
    QTest::newRow(row.name) << row.kind << row.place << row.text << row.checked << row.enabled << row.shown;
  }
}

void MainWindowTest::initialControls() {
  QFETCH(QString, kind);
  QFETCH(QRect, place);
  QFETCH(QString, text);
  QFETCH(int, checked);
  QFETCH(bool, enabled);
  QFETCH(bool, shown);

  Rig rig;
  rig.window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
  QWidget* control = rig.Find(QTest::currentDataTag());
  QVERIFY(control->inherits(kind.toUtf8().constData()));
  QCOMPARE(control->geometry(), place);
  if (!text.isNull()) QCOMPARE(TextOf(control), text);
  if (checked >= 0) QCOMPARE(qobject_cast<QAbstractButton*>(control)->isChecked(), checked == 1);
  QCOMPARE(control->isEnabled(), enabled);
  QCOMPARE(control->isVisible(), shown);
}

void MainWindowTest::interlocks_data() {
  QTest::addColumn<QStringList>("before");  // the checked options, set by the program
  QTest::addColumn<bool>("kindsEnabledBefore");
  QTest::addColumn<QString>("clicked");
  QTest::addColumn<QStringList>("after");
  QTest::addColumn<bool>("kindsEnabledAfter");

  const QStringList all = kDefaultOptions;
  const QStringList noDetail = Without(all, {"选择框5", "选择框3", "选择框4"});
  QTest::newRow("选择框5 off clears CSV and hyperlinks, keeps the package kind")
      << all << true << "选择框5" << noDetail << false;
  QTest::newRow("选择框5 on touches nothing else")
      << noDetail << false << "选择框5" << With(noDetail, {"选择框5"}) << false;
  const QStringList bare = {"选择框1", "选择框6", "单选框2"};
  QTest::newRow("选择框3 on checks 选择框5, not 选择框2")
      << bare << false << "选择框3" << With(bare, {"选择框3", "选择框5"}) << true;
  QTest::newRow("选择框3 off disables the package kind")
      << all << true << "选择框3" << Without(all, {"选择框3"}) << false;
  QTest::newRow("选择框2 off clears CSV and title")
      << With(all, {"选择框7"}) << true << "选择框2" << Without(all, {"选择框2", "选择框3"}) << false;
  QTest::newRow("选择框2 on touches nothing else")
      << bare << false << "选择框2" << With(bare, {"选择框2"}) << false;
  QTest::newRow("选择框7 on checks 选择框2 only")
      << bare << false << "选择框7" << With(bare, {"选择框7", "选择框2"}) << false;
  QTest::newRow("选择框7 off touches nothing else")
      << With(all, {"选择框7"}) << true << "选择框7" << all << true;
  QTest::newRow("单选框1 takes the place of 单选框2")
      << all << true << "单选框1" << With(Without(all, {"单选框2"}), {"单选框1"}) << true;
  QTest::newRow("选择框1 has no rule") << all << true << "选择框1" << Without(all, {"选择框1"}) << true;
  QTest::newRow("选择框4 has no rule") << all << true << "选择框4" << Without(all, {"选择框4"}) << true;
}

void MainWindowTest::interlocks() {
  QFETCH(QStringList, before);
  QFETCH(bool, kindsEnabledBefore);
  QFETCH(QString, clicked);
  QFETCH(QStringList, after);
  QFETCH(bool, kindsEnabledAfter);

  Rig rig;
  rig.window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
  for (const QString& name : kOptionNames) rig.Button(name)->setChecked(before.contains(name));
  rig.Button("单选框1")->setEnabled(kindsEnabledBefore);
  rig.Button("单选框2")->setEnabled(kindsEnabledBefore);
  QCOMPARE(CheckedOptions(rig), before);

  UserClick(rig.Button(clicked));

  QCOMPARE(CheckedOptions(rig), after);
  QCOMPARE(rig.Button("单选框1")->isEnabled(), kindsEnabledAfter);
  QCOMPARE(rig.Button("单选框2")->isEnabled(), kindsEnabledAfter);
}

void MainWindowTest::programChangesRunNoRule() {
  Rig rig;
  rig.Button("选择框5")->setChecked(false);
  rig.Button("选择框2")->setChecked(false);
  rig.Button("选择框7")->setChecked(true);
  rig.Button("选择框3")->toggle();
  rig.Button("选择框3")->toggle();

  QCOMPARE(CheckedOptions(rig),
           QStringList({"选择框1", "选择框6", "选择框7", "选择框3", "单选框2", "选择框4"}));
  QVERIFY(rig.Button("单选框1")->isEnabled());
  QVERIFY(rig.Button("单选框2")->isEnabled());
}

void MainWindowTest::addressListFocusAndDoubleClick_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("expected");

  QTest::newRow("focus in empties the hint") << kHint << "focus in"
                                             << "";
  QTest::newRow("focus in keeps a list") << "a\nb"
                                         << "focus in"
                                         << "a\nb";
  QTest::newRow("in and out brings the hint back") << kHint << "focus in and out" << kHint;
  QTest::newRow("blank lines collapse") << "a\n\n\nb"
                                        << "focus in and out"
                                        << "a\nb";
  QTest::newRow("a leading empty line stays") << "\na\n\n\n\n\nb\n"
                                              << "focus in and out"
                                              << "\na\nb\n";
  QTest::newRow("double-click empties the hint") << kHint << "double-click"
                                                 << "";
  QTest::newRow("double-click empties a list") << "a\nb"
                                               << "double-click"
                                               << "";
}

void MainWindowTest::addressListFocusAndDoubleClick() {
  QFETCH(QString, start);
  QFETCH(QString, action);
  QFETCH(QString, expected);

  Rig rig;
  QVERIFY(rig.ShowAndActivate());
  QPlainTextEdit* list = rig.List();
  list->setPlainText(start);
  if (action == "double-click") {
    QTest::mouseDClick(list->viewport(), Qt::LeftButton);
  } else {
    list->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY_WITH_TIMEOUT(list->hasFocus(), 5000);
    if (action == "focus in and out") {
      rig.Button("按钮2")->setFocus(Qt::MouseFocusReason);
      QTRY_VERIFY_WITH_TIMEOUT(!list->hasFocus(), 5000);
    }
  }
  QCOMPARE(list->toPlainText(), expected);
}

void MainWindowTest::fileDrops_data() {
  QTest::addColumn<QString>("start");
  QTest::addColumn<QStringList>("files");  // dropped at once
  QTest::addColumn<QString>("expected");   // %1, %2: the dropped paths

  QTest::newRow("csv on the hint") << kHint << QStringList{"a.csv"} << "%1";
  QTest::newRow("csv below a list") << "x" << QStringList{"a.csv"} << "x\n%1";
  QTest::newRow("txt replaces the list")
      << "x" << QStringList{"list.txt"} << "http://img.alicdn.com/1.jpg\nhttp://img.alicdn.com/2.jpg";
  QTest::newRow("two files at once") << "x" << QStringList{"a.csv", "b.csv"} << "x";
  QTest::newRow("upper-case TXT") << "x" << QStringList{"LIST.TXT"} << "x";
  QTest::newRow("other ending") << "x" << QStringList{"a.jpg"} << "x";
}

void MainWindowTest::fileDrops() {
  QFETCH(QString, start);
  QFETCH(QStringList, files);
  QFETCH(QString, expected);

  QTemporaryDir folder;
  QList<QUrl> urls;
  for (const QString& name : files) {
    QFile file(folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("http://img.alicdn.com/1.jpg\r\nhttp://img.alicdn.com/2.jpg");
    urls << QUrl::fromLocalFile(file.fileName());
  }
  Rig rig;
  QVERIFY(rig.ShowAndActivate());
  QPlainTextEdit* list = rig.List();
  list->setPlainText(start);

  QMimeData mime;
  mime.setUrls(urls);
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list->viewport(), &enter);
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list->viewport(), &drop);

  if (expected.contains('%')) {
    for (const QString& name : files) expected = expected.arg(folder.filePath(name));
  }
  QCOMPARE(list->toPlainText(), expected);
}

void MainWindowTest::refusedStarts_data() {
  QTest::addColumn<QStringList>("unchecked");
  QTest::addColumn<QString>("list");
  QTest::addColumn<QString>("message");

  QTest::newRow("no kind of picture")
      << QStringList{"选择框1", "选择框5", "选择框6"} << "http://img.alicdn.com/1.jpg"
      << "您还未选择要下载的是主图或细节图或其他图片呢！？";
  QTest::newRow("only the hint") << QStringList{} << kHint << "宝贝链接还未输入！";
  QTest::newRow("no full stop") << QStringList{} << "taobao"
                                << "宝贝链接还未输入！";
}

void MainWindowTest::refusedStarts() {
  QFETCH(QStringList, unchecked);
  QFETCH(QString, list);
  QFETCH(QString, message);

  Rig rig;
  QVERIFY(rig.ShowAndActivate());
  for (const QString& name : unchecked) rig.Button(name)->setChecked(false);
  rig.List()->setPlainText(list);
  const QString status = rig.Find<QLabel>("标签1")->text();

  UserClick(rig.Button("按钮2"));

  QTRY_VERIFY_WITH_TIMEOUT(ShownMessage(rig.window) != nullptr, 5000);
  QMessageBox* box = ShownMessage(rig.window);
  QCOMPARE(box->windowTitle(), QString("信息："));
  QCOMPARE(box->text(), message);
  QCOMPARE(box->buttons().size(), 1);
  QCOMPARE(box->standardButtons(), QMessageBox::Ok);
  QVERIFY(rig.List()->isEnabled());
  QVERIFY(rig.Button("按钮2")->isEnabled());
  QCOMPARE(rig.Find<QLabel>("标签1")->text(), status);
  QVERIFY(!rig.Find<QTimer>("时钟3")->isActive());
  QVERIFY(QDir(rig.saveFolder.path()).isEmpty());
  box->button(QMessageBox::Ok)->click();
  QTRY_VERIFY_WITH_TIMEOUT(ShownMessage(rig.window) == nullptr, 5000);
}

void MainWindowTest::logs() {
  Rig rig;
  rig.window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
  auto* log = rig.Find<QPlainTextEdit>("编辑框3");
  auto* css = rig.Find<QPlainTextEdit>("编辑框1");

  // As a worker writes: from a thread of its own, waiting for each call.
  std::atomic<bool> done = false;
  std::thread worker([&] {
    for (int i = 1; i <= 40; ++i)
      rig.window.AppendDownloadLog("http://img.alicdn.com/" + std::to_string(i) + ".jpg\r\n");
    rig.window.AppendCssLog("http://a.tbcdn.cn/s.css\r\n\r\n");
    done = true;
  });
  QTRY_VERIFY_WITH_TIMEOUT(done.load(), 10000);
  worker.join();

  QVERIFY(log->toPlainText().startsWith("http://img.alicdn.com/1.jpg\nhttp://img.alicdn.com/2.jpg\n"));
  QVERIFY(log->toPlainText().endsWith("http://img.alicdn.com/40.jpg\n"));
  QVERIFY(log->verticalScrollBar()->maximum() > 0);
  QCOMPARE(log->verticalScrollBar()->value(), log->verticalScrollBar()->maximum());
  QCOMPARE(css->toPlainText(), QString("http://a.tbcdn.cn/s.css\n\n"));

  QTest::mouseDClick(log->viewport(), Qt::LeftButton);
  QCOMPARE(log->toPlainText(), QString());
}

void MainWindowTest::browseCancelKeepsFolder() {
  Rig rig;
  QVERIFY(rig.ShowAndActivate());
  auto* folder = rig.Find<QLineEdit>("编辑框2");
  const QString before = folder->text();

  // The browser runs its own event loop; cancel it from there, with a deadline.
  QString title;
  int tries = 0;
  QTimer canceller;
  canceller.setInterval(20);
  connect(&canceller, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      title = dialog->windowTitle();
      dialog->reject();
    }
    if (++tries > 250) {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget)) dialog->reject();
      }
    }
  });
  canceller.start();
  UserClick(rig.Button("按钮1"));
  canceller.stop();

  QCOMPARE(title, QString("选择要下载的位置"));
  QCOMPARE(folder->text(), before);
  QVERIFY(!folder->isEnabled());
}

void MainWindowTest::jobRunsToItsEnd() {
  testing::TestSite site;
  qputenv("http_proxy", site.ProxyUrl().c_str());
  qunsetenv("no_proxy");
  qunsetenv("NO_PROXY");
  const std::string first = "http://img.alicdn.com/gui/1.jpg";
  const std::string second = "http://img.alicdn.com/gui/2.jpg";
  site.ServePicture(first, 3000);
  // Slow enough that the running job can be looked at.
  testing::Reply slow = testing::Answer(200, testing::PictureBytes(second, 4000));
  slow.delay = std::chrono::milliseconds(600);
  site.Serve(second, slow);

  Rig rig;
  QVERIFY(rig.ShowAndActivate());
  // Typed with blank lines in between; leaving the box collapses them.
  rig.List()->setFocus(Qt::MouseFocusReason);
  QTRY_VERIFY_WITH_TIMEOUT(rig.List()->hasFocus(), 5000);
  rig.List()->setPlainText(QString::fromStdString(first + "\n\n\n" + second + "\n"));
  QAbstractButton* start = rig.Button("按钮2");
  auto* status = rig.Find<QLabel>("标签1");

  UserClick(start);

  QVERIFY(!start->isEnabled());
  QVERIFY(!rig.List()->isEnabled());
  QCOMPARE(rig.List()->toPlainText(), QString::fromStdString(first + "\n" + second + "\n"));
  auto* log = rig.Find<QPlainTextEdit>("编辑框3");
  QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains(QString::fromStdString(second)), 10000);
  QVERIFY(!start->isEnabled());
  QVERIFY(status->text().startsWith("（2/2）"));

  QTRY_COMPARE_WITH_TIMEOUT(status->text(), QString("（2/2）全部下载完毕！"), 20000);
  QVERIFY(start->isEnabled());
  QCOMPARE(start->text(), QString("立即下载"));
  QVERIFY(rig.List()->isEnabled());
  QCOMPARE(rig.Find<QLabel>("透明标签4")->text(), app::ToQt(job::CounterRestingText()));
  QCOMPARE(rig.Find<QLabel>("失败提示")->text(), QString());
  QCOMPARE(rig.Find<QProgressBar>("进度条1")->value(), 0);
  QCOMPARE(log->toPlainText(), QString::fromStdString(first + "\n" + second + "\n"));

  const QStringList jobs = QDir(rig.saveFolder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  QCOMPARE(jobs.size(), 1);
  QVERIFY(jobs[0].endsWith("共淘图2个地址"));
  const QDir jobFolder(rig.saveFolder.filePath(jobs[0]));
  QCOMPARE(jobFolder.entryList(QDir::Files, QDir::Name), QStringList({"1.jpg", "2.jpg"}));
  QFile picture(jobFolder.filePath("2.jpg"));
  QVERIFY(picture.open(QIODevice::ReadOnly));
  QCOMPARE(picture.readAll().toStdString(), testing::PictureBytes(second, 4000));
  QCOMPARE(site.RequestCount(first), 1);
  QCOMPARE(site.RequestCount(second), 1);
}

void MainWindowTest::closingMidJobFinishesTheEntry() {
  testing::TestSite site;
  qputenv("http_proxy", site.ProxyUrl().c_str());
  qunsetenv("no_proxy");
  qunsetenv("NO_PROXY");
  const std::string first = "http://img.alicdn.com/close/1.jpg";
  const std::string second = "http://img.alicdn.com/close/2.jpg";
  testing::Reply slow = testing::Answer(200, testing::PictureBytes(first, 2000));
  slow.delay = std::chrono::milliseconds(800);
  site.Serve(first, slow);
  site.ServePicture(second, 2000);

  QString saveFolder;
  {
    auto rig = std::make_unique<Rig>();
    rig->saveFolder.setAutoRemove(false);
    saveFolder = rig->saveFolder.path();
    QVERIFY(rig->ShowAndActivate());
    rig->window.SetAddressList(first + "\r\n" + second);
    UserClick(rig->Button("按钮2"));
    auto* log = rig->Find<QPlainTextEdit>("编辑框3");
    QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains(QString::fromStdString(first)), 10000);
    // The worker is inside its download: the window goes while it still calls it.
    rig->window.close();
  }

  QDir folder(saveFolder);
  const QStringList jobs = folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  QCOMPARE(jobs.size(), 1);
  QCOMPARE(QDir(folder.filePath(jobs[0])).entryList(QDir::Files), QStringList({"1.jpg"}));
  QCOMPARE(site.RequestCount(second), 0);
  QVERIFY(folder.removeRecursively());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
