#pragma once
// The local clock, behind a seam: folder names and CSV times come from it.
namespace taotu::platform {

struct LocalDateTime {
  int year = 1970, month = 1, day = 1;   // month 1-12, day 1-31
  int hour = 0, minute = 0, second = 0;  // hour 0-23
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  LocalDateTime Now() const override;
};

}  // namespace taotu::platform
