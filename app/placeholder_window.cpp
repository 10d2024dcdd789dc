#include "app/placeholder_window.h"

#include <QLabel>

namespace taotu::app {

PlaceholderWindow::PlaceholderWindow() {
  setWindowTitle(
      QString::fromUtf8("《岚川淘宝图片搬家工具》 淘宝、天猫、1688阿里图片批量下载器 "
                        "（包含CSS图片分析并下载）店铺宝贝复制 V8.2"));
  setGeometry(50, 50, 1068, 648);
  auto* label = new QLabel(QString::fromUtf8("请使用 taotu-cli download 运行下载任务。"), this);
  label->setObjectName("标签1");
  label->setAlignment(Qt::AlignCenter);
  setCentralWidget(label);
}

}  // namespace taotu::app
