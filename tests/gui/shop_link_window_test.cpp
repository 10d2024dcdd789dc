// The shop link window as a user meets it: opened from the main window's
// 按钮3, controls found by name, walks against the local test site, 确定
// and closing while a walk is on.
#include "app/shop_link_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <memory>
#include <optional>

#include "app/main_window.h"
#include "app/qt_text.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "support/temp_dir.h"
#include "support/test_site.h"
#include "text/gbk_text.h"

using namespace taotu;

namespace {

// A Tmall shop on the test site: its listing pages and the links they yield.
struct TmallShop {
  std::string host;  // "http://<name>.tmall.com"

  std::string FirstPage() const { return host + "/search.htm?search=y"; }
  std::string Page(int i) const { return host + "/search.htm?search=y&pageNo=" + std::to_string(i); }
  static std::string Link(const std::string& id) { return "http://detail.tmall.com/item.htm?id=" + id; }

  // The fixture page of a shop of `pages` pages listing `ids`, in GBK.
  static std::string Listing(int pages, const std::vector<std::string>& ids) {
    std::string items;
    for (const std::string& id : ids) {
      const std::string href = Link(id) + "&rn=5c1e&abbucket=3";
      items += "<dl class=\"item\"><dt class=\"photo\"><a href=\"" + href +
               "\"><img src=\"x.jpg\"></a></dt>\n" + "<dd class=\"detail\"><a href=\"" + href +
               "\">春装新款连衣裙</a></dd></dl>\n";
    }
    std::string page = testing::ReadFileBytes(std::string(TAOTU_TEST_DATA) + "/shops/tmall_search.html");
    page =
        text::ReplaceAll(page, "@PAGER@", "<b class=\"ui-page-s-len\">1/" + std::to_string(pages) + "</b>");
    return platform::Utf8ToGbk(text::ReplaceAll(page, "@ITEMS@", items));
  }

  // Page i lists pages[i - 1]; the first page shows page 1's items.
  void Serve(testing::TestSite& site, const std::vector<std::vector<std::string>>& pages,
             std::optional<int> slowPage = std::nullopt) const {
    const int n = static_cast<int>(pages.size());
    site.Serve(FirstPage(), testing::Answer(200, Listing(n, pages[0])));
    for (int i = 1; i <= n; ++i) {
      testing::Reply reply = testing::Answer(200, Listing(n, pages[i - 1]));
      if (slowPage == i) reply.delay = std::chrono::milliseconds(800);
      site.Serve(Page(i), reply);
    }
  }

  // 编辑框2 as Qt shows it: one link a line.
  static QString ListText(const std::vector<std::string>& ids) {
    QString list;
    for (const std::string& id : ids) list += QString::fromStdString(Link(id)) + '\n';
    return list;
  }
};

// The main window as main() makes it, with the test site as every host.
struct Rig {
  testing::TestSite site;
  platform::PathCodec paths;
  platform::NativeFileSystem files{paths};
  std::unique_ptr<app::MainWindow> window;

  Rig() {
    qputenv("http_proxy", site.ProxyUrl().c_str());
    qunsetenv("HTTP_PROXY");
    qunsetenv("no_proxy");
    qunsetenv("NO_PROXY");
    window = std::make_unique<app::MainWindow>(paths, files);
  }

  // 按钮3 clicked: the window it opens, modal over the main window.
  app::ShopLinkWindow* Open() {
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return nullptr;
    window->findChild<QAbstractButton*>(QStringLiteral("按钮3"))->click();
    auto* opened = qobject_cast<app::ShopLinkWindow*>(QApplication::activeModalWidget());
    if (opened && !QTest::qWaitForWindowExposed(opened)) return nullptr;
    return opened;
  }
};

template <class T = QWidget>
T* Find(QWidget* window, const char* name) {
  T* found = window->findChild<T*>(QString::fromUtf8(name));
  if (!found) qFatal("no control %s", name);
  return found;
}

QMessageBox* ShownMessage(QWidget* window) {
  for (QMessageBox* box : window->findChildren<QMessageBox*>()) {
    if (box->isVisible()) return box;
  }
  return nullptr;
}

// The shown message's text, after OK has closed it; null when none came.
QString TakeMessage(QWidget* window) {
  if (!QTest::qWaitFor([&] { return ShownMessage(window) != nullptr; }, 5000)) return {};
  QMessageBox* box = ShownMessage(window);
  const QString text = box->windowTitle() == "信息：" ? box->text() : "wrong title: " + box->windowTitle();
  box->button(QMessageBox::Ok)->click();
  return text;
}

QString TextOf(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return edit->toPlainText();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  return {};
}

}  // namespace

class ShopLinkWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void windowFrame();
  void controls_data();
  void controls();
  void refusedAddresses_data();
  void refusedAddresses();
  void walkFillsListAndCount();
  void walkerMessageFromItsThread();
  void confirmHandsOverLinks();
  void closingMidWalk_data();
  void closingMidWalk();
};

void ShopLinkWindowTest::windowFrame() {
  Rig rig;
  app::ShopLinkWindow* shop = rig.Open();
  QVERIFY(shop);
  QCOMPARE(shop->windowTitle(), QString("批量获取宝贝链接"));
  QCOMPARE(shop->size(), QSize(591, 475));
  QVERIFY(shop->isModal());
  QCOMPARE(shop->parentWidget(), rig.window.get());
  // The main window takes no input while it is open.
  QVERIFY(QApplication::activeModalWidget() == shop);

  const QStringList lines = Find<QLabel>(shop, "标签3")->text().split('\n');
  QCOMPARE(lines.size(), 4);
  QCOMPARE(lines[0], QString("店铺地址输入示例："));
  const QStringList sites = {"天猫店铺：http://", "淘宝店铺：http://", "1688店铺：http://"};
  const QStringList domains = {".tmall.com", ".taobao.com", ".1688.com"};
  for (int i = 0; i < 3; ++i) {
    QVERIFY2(lines[i + 1].startsWith(sites[i]) && lines[i + 1].endsWith(domains[i]),
             qPrintable(lines[i + 1]));
    QVERIFY(!lines[i + 1].mid(sites[i].size()).contains('/'));
  }

  shop->close();
  QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 5000);
}

void ShopLinkWindowTest::controls_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QRect>("place");
  QTest::addColumn<QString>("text");  // null: not fixed here
  QTest::addColumn<bool>("enabled");
  QTest::addColumn<bool>("shown");

  struct Row {
    const char* name;
    const char* kind;
    QRect place;
    QString text;
    bool enabled = true;
    bool shown = true;
  };
  const Row rows[] = {
      {"标签1", "QLabel", {8, 16, 176, 24}, "淘宝、天猫、阿里店铺地址："},
      {"编辑框1", "QLineEdit", {168, 16, 360, 24}, ""},
      {"按钮1", "QPushButton", {536, 16, 40, 24}, "获取"},
      {"标签3", "QLabel", {8, 48, 424, 56}, QString()},
      {"进度条1", "QProgressBar", {440, 64, 136, 24}, QString(), true, false},
      {"标签2", "QLabel", {8, 112, 112, 24}, "整店宝贝链接："},
      {"标签4", "QLabel", {136, 112, 256, 24}, ""},
      {"按钮3", "QPushButton", {400, 104, 48, 32}, "清空"},
      {"按钮2", "QPushButton", {480, 104, 88, 32}, "确定"},
      {"编辑框2", "QPlainTextEdit", {8, 140, 568, 300}, "", false},
  };
  for (const Row& row : rows) {
    QTest::newRow(row.name) << row.kind << row.place << row.text << row.enabled << row.shown;
  }
}

void ShopLinkWindowTest::controls() {
  QFETCH(QString, kind);
  QFETCH(QRect, place);
  QFETCH(QString, text);
  QFETCH(bool, enabled);
  QFETCH(bool, shown);

  Rig rig;
  app::ShopLinkWindow* shop = rig.Open();
  QVERIFY(shop);
  QWidget* control = Find(shop, QTest::currentDataTag());
  QVERIFY(control->inherits(kind.toUtf8().constData()));
  QCOMPARE(control->geometry(), place);
  if (!text.isNull()) QCOMPARE(TextOf(control), text);
  QCOMPARE(control->isEnabled(), enabled);
  QCOMPARE(control->isVisible(), shown);
}

void ShopLinkWindowTest::refusedAddresses_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("message");  // after the example caption when it ends with "\n\n"
  QTest::addColumn<QString>("afterwards");

  QTest::newRow("empty") << ""
                         << "店铺地址不能不输入的！"
                         << "";
  QTest::newRow("no shop domain, scheme kept") << "www.example.com/shop"
                                               << "请输入正确的店铺地址？！\n\n"
                                               << "http://www.example.com/shop";
}

void ShopLinkWindowTest::refusedAddresses() {
  QFETCH(QString, typed);
  QFETCH(QString, message);
  QFETCH(QString, afterwards);

  Rig rig;
  app::ShopLinkWindow* shop = rig.Open();
  QVERIFY(shop);
  Find<QLineEdit>(shop, "编辑框1")->setText(typed);
  auto* fetch = Find<QAbstractButton>(shop, "按钮1");
  fetch->click();

  if (message.endsWith("\n\n")) message += Find<QLabel>(shop, "标签3")->text();
  QCOMPARE(TakeMessage(shop), message);
  QVERIFY(fetch->isEnabled());
  QCOMPARE(Find<QLineEdit>(shop, "编辑框1")->text(), afterwards);
  QVERIFY(shop->isVisible());
  QCOMPARE(rig.site.Requests().size(), std::size_t{0});
}

void ShopLinkWindowTest::walkFillsListAndCount() {
  Rig rig;
  const TmallShop tmall{"http://gui.tmall.com"};
  tmall.Serve(rig.site, {{"301", "302"}, {"303", "301", "304"}});
  app::ShopLinkWindow* shop = rig.Open();
  QVERIFY(shop);
  auto* address = Find<QLineEdit>(shop, "编辑框1");
  auto* fetch = Find<QAbstractButton>(shop, "按钮1");
  auto* list = Find<QPlainTextEdit>(shop, "编辑框2");
  auto* count = Find<QLabel>(shop, "标签4");
  auto* bar = Find<QProgressBar>(shop, "进度条1");

  // Typed without a scheme and with a path: cut back to the host.
  address->setText("gui.tmall.com/index.htm?spm=a1z10.1");
  fetch->click();
  QCOMPARE(address->text(), QString("http://gui.tmall.com"));
  QVERIFY(!fetch->isEnabled());
  QTRY_VERIFY_WITH_TIMEOUT(fetch->isEnabled(), 20000);

  QCOMPARE(list->toPlainText(), TmallShop::ListText({"301", "302", "303", "304"}));
  QCOMPARE(count->text(), QString("共获得 4 个宝贝链接！"));
  QCOMPARE(bar->value(), 100);
  QVERIFY(!bar->isVisible());
  QCOMPARE(rig.site.RequestCount(tmall.Page(2)), 1);
  QVERIFY(ShownMessage(shop) == nullptr);

  // 清空 empties address and list; the count goes on from where it was.
  Find<QAbstractButton>(shop, "按钮3")->click();
  QCOMPARE(address->text(), QString());
  QCOMPARE(list->toPlainText(), QString());
  QCOMPARE(count->text(), QString("共获得 4 个宝贝链接！"));

  address->setText("http://gui.tmall.com");
  fetch->click();
  QTRY_VERIFY_WITH_TIMEOUT(fetch->isEnabled() && rig.site.RequestCount(tmall.Page(2)) == 2, 20000);
  QCOMPARE(list->toPlainText(), TmallShop::ListText({"301", "302", "303", "304"}));
  QCOMPARE(count->text(), QString("共获得 8 个宝贝链接！"));
}

void ShopLinkWindowTest::walkerMessageFromItsThread() {
  Rig rig;  // the shop's pages are not on the site
  app::ShopLinkWindow* shop = rig.Open();
  QVERIFY(shop);
  Find<QLineEdit>(shop, "编辑框1")->setText("gone.tmall.com");
  auto* fetch = Find<QAbstractButton>(shop, "按钮1");
  fetch->click();

  QCOMPARE(TakeMessage(shop), QString("网络超时，请重试！"));
  QTRY_VERIFY_WITH_TIMEOUT(fetch->isEnabled(), 10000);
  QVERIFY(Find<QLabel>(shop, "提示")->text().contains("http://gone.tmall.com/search.htm?search=y"));
  QCOMPARE(Find<QPlainTextEdit>(shop, "编辑框2")->toPlainText(), QString());
}

void ShopLinkWindowTest::confirmHandsOverLinks() {
  Rig rig;
  const TmallShop tmall{"http://hand.tmall.com"};
  tmall.Serve(rig.site, {{"401", "402"}});
  rig.window->SetAddressList(platform::Utf8ToGbk("http://img.alicdn.com/old.jpg\r\n"));
  QPointer<app::ShopLinkWindow> shop = rig.Open();
  QVERIFY(shop);
  auto* confirm = Find<QAbstractButton>(shop, "按钮2");

  // Nothing collected yet: the window stays and the main list is kept.
  confirm->click();
  QCOMPARE(TakeMessage(shop), QString("您还未获取一个链接呢！"));
  QVERIFY(shop->isVisible());
  QCOMPARE(rig.window->AddressList(), std::string("http://img.alicdn.com/old.jpg\r\n"));

  Find<QLineEdit>(shop, "编辑框1")->setText("hand.tmall.com");
  Find<QAbstractButton>(shop, "按钮1")->click();
  QTRY_VERIFY_WITH_TIMEOUT(Find<QAbstractButton>(shop, "按钮1")->isEnabled(), 20000);
  confirm->click();

  // Replaced, not appended to; the window goes.
  QCOMPARE(rig.window->AddressList(), TmallShop::Link("401") + "\r\n" + TmallShop::Link("402") + "\r\n");
  QTRY_VERIFY_WITH_TIMEOUT(shop.isNull(), 5000);
  QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void ShopLinkWindowTest::closingMidWalk_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("handedOver");
  QTest::newRow("close box") << "close" << false;
  QTest::newRow("确定") << "confirm" << true;
  QTest::newRow("main window goes") << "destroy main" << false;
}

void ShopLinkWindowTest::closingMidWalk() {
  QFETCH(QString, how);
  QFETCH(bool, handedOver);

  Rig rig;
  const TmallShop tmall{"http://slow.tmall.com"};
  tmall.Serve(rig.site, {{"501", "502"}, {"503"}, {"504"}}, 2);
  const std::string before = platform::Utf8ToGbk("http://img.alicdn.com/kept.jpg\r\n");
  rig.window->SetAddressList(before);
  QPointer<app::ShopLinkWindow> shop = rig.Open();
  QVERIFY(shop);
  Find<QLineEdit>(shop, "编辑框1")->setText("slow.tmall.com");
  Find<QAbstractButton>(shop, "按钮1")->click();

  // Page 1 is listed and the walker waits for page 2.
  QTRY_VERIFY_WITH_TIMEOUT(rig.site.RequestCount(tmall.Page(2)) == 1, 10000);
  QCOMPARE(Find<QPlainTextEdit>(shop, "编辑框2")->toPlainText(), TmallShop::ListText({"501", "502"}));

  if (how == "close") {
    shop->close();
  } else if (how == "confirm") {
    Find<QAbstractButton>(shop, "按钮2")->click();
  } else {
    rig.window.reset();
  }

  // The walker has ended by now: the window is gone without a further page.
  if (rig.window) {
    QTRY_VERIFY_WITH_TIMEOUT(shop.isNull(), 5000);
    const std::string expected =
        handedOver ? TmallShop::Link("501") + "\r\n" + TmallShop::Link("502") + "\r\n" : before;
    QCOMPARE(rig.window->AddressList(), expected);
  } else {
    QVERIFY(shop.isNull());
  }
  QTest::qWait(300);
  QCOMPARE(rig.site.RequestCount(tmall.Page(3)), 0);
}

QTEST_MAIN(ShopLinkWindowTest)
#include "shop_link_window_test.moc"
