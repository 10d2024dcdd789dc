#include "job/job_state.h"

#include "text/gbk_literal.h"
#include "text/gbk_text.h"

namespace taotu::job {

using namespace text;

std::string CompactDateTime(const platform::LocalDateTime& t) {
  return Decimal(t.year) + Decimal(t.month) + Decimal(t.day) + Decimal(t.hour) + Decimal(t.minute) +
         Decimal(t.second);
}

std::string JobFolderName(const platform::LocalDateTime& now, int count) {
  return CompactDateTime(now) + "共淘图"_gbk + Decimal(count) + "个地址"_gbk;
}

}  // namespace taotu::job
