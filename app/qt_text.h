#pragma once
// The core's GBK text with "\r\n" line ends, as Qt strings with "\n", and back.
#include <QString>
#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace taotu::app {

inline QString ToQt(std::string_view gbk) {
  QString text = QString::fromStdString(platform::GbkToUtf8(gbk));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

inline std::string FromQt(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QChar('\n'), QStringLiteral("\r\n"));
  return platform::Utf8ToGbk(text.toStdString());
}

}  // namespace taotu::app
