#include "app/help_page.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace taotu::app {
namespace {

const char* const kHelpPage = R"(<!DOCTYPE html>
<html lang="zh-CN">
<head><meta charset="utf-8"><title>岚川淘宝图片搬家工具 使用帮助</title></head>
<body>
<h1>岚川淘宝图片搬家工具 使用帮助</h1>

<h2>开始下载</h2>
<ol>
<li>把淘宝、天猫或1688的宝贝地址、描述地址或图片地址粘贴到“淘宝地址”框中，每行一个。
也可以把每行一个网址的TXT文档，或淘宝助理导出的含外部链接的CSV数据包直接拖进来。</li>
<li>用“浏览”选择保存位置，“打开文件夹”可查看已下载的文件。</li>
<li>点“立即下载”。再点一次可停止；进度条和下方的状态栏显示进度。</li>
</ol>

<h2>各选项的作用</h2>
<ul>
<li><b>下载主图</b>：下载宝贝的主图（橱窗图）。</li>
<li><b>下载细节图</b>：下载宝贝描述中的图片。</li>
<li><b>下载其他图</b>：下载描述样式（CSS）中用到的背景等图片。</li>
<li><b>智能分类保存</b>：每个宝贝的图片存入各自的文件夹。</li>
<li><b>显示宝贝标题</b>：文件夹名中加上宝贝标题，便于辨认。</li>
<li><b>导出CSV数据包</b>：为每个宝贝生成淘宝助理可导入的CSV数据包。</li>
<li><b>独立包</b>：每个宝贝一个数据包；<b>复合包</b>：所有宝贝合为一个数据包。</li>
<li><b>自动删除超链接</b>：从宝贝描述中去掉指向原店铺的链接。</li>
</ul>

<h2>把数据包导入淘宝助理</h2>
<ol>
<li>打开淘宝助理并登录自己的店铺账号。</li>
<li>在“宝贝管理”中选择“导入CSV”，选中保存位置里生成的CSV文件；图片须与CSV文件放在一起。</li>
<li>逐个检查导入的宝贝，部分属性（如类目属性、运费模板）上传前需手动修改。</li>
<li>勾选宝贝后点“上传宝贝”，即发布到自己的店铺。</li>
</ol>

<h2>其他</h2>
<p>双击“图片文件”日志框可清空它。双击托盘图标可隐藏或显示主窗口，右键点窗口或托盘图标可打开菜单。</p>
</body>
</html>
)";

}  // namespace

QString HelpPagePath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/taotu_help.html");
}

bool OpenHelpPage() {
  const QString path = HelpPagePath();
  // An existing page is the user's to keep, even when edited.
  if (!QFileInfo::exists(path)) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(kHelpPage) < 0) return false;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace taotu::app
