#include <QApplication>

#include "app/placeholder_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  taotu::app::PlaceholderWindow window;
  window.show();
  return application.exec();
}
