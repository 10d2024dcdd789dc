#pragma once
// Runs a call on a window's thread: at once when already there, else queued
// while the calling thread waits for it. A worker's single read or write of
// a control is thus complete in itself and never races the window.
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <type_traits>

namespace taotu::app {

template <class Call>
auto OnThreadOf(QObject* owner, Call call) {
  using Result = std::invoke_result_t<Call>;
  if (QThread::currentThread() == owner->thread()) return call();
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(owner, call, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        owner, [&] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

}  // namespace taotu::app
