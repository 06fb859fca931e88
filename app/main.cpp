// norvane: the window program that configures the keyboards, mice, mouse pads and headsets it finds.
#include "app/application.h"

int main(int argc, char** argv) {
  return norvane::app::RunApplication(argc, argv);
}
