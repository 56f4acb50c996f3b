// The program's entry: it takes no arguments beyond what Qt itself reads.
#include "app/startup.h"
#include "safefile/replace.h"

int main(int argc, char** argv) {
  safefile::IgnoreFileSizeSignal();
  return app::RunProgram(argc, argv);
}
