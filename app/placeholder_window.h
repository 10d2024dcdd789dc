#pragma once
#include <QMainWindow>

namespace taotu::app {

// The desktop window's frame: its caption and size. The controls follow.
class PlaceholderWindow : public QMainWindow {
  Q_OBJECT

 public:
  PlaceholderWindow();
};

}  // namespace taotu::app
