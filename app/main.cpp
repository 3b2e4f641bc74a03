#include "ORXApp.h"

int main(int argc, char** argv) {
  orx::CORXApp app(argc, argv);
  return app.run();
}
