// Kestrun Varnadel, the desktop program. An optional plan file on the command
// line is opened after start-up.

#include <QApplication>

#include "app/mainwindow/dive_planner_app.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  kv::app::CDivePlannerApp app;
  return app.Run(application);
}
