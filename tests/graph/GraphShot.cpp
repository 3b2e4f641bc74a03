// Shows the graph window with a generated flight log (downloaded through a
// stand-in ESC side) for a screenshot; quits after the given seconds, or
// writes the window to a PNG when a path is given.
#include <QApplication>
#include <QTimer>
#include <cstdlib>

#include "GraphRig.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  orx::test::FakeSource source;
  source.log = orx::test::generatedRecords(30000, 4);
  orx::test::RecordingPrompter prompter;
  orx::test::FixedChooser files;
  orx::graph::Graph window(&source, prompter, files);
  window.resize(1220, 830);
  window.move(0, 0);
  window.show();
  window.command(orx::graph::gid::kReadButton);
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
  QTimer::singleShot(seconds * 1000, &app, [&] {
    if (argc > 2) window.grab().save(argv[2]);
    app.quit();
  });
  return app.exec();
}
