// The program's entry: it takes no arguments beyond what Qt itself reads.
#include "app/startup.h"

int main(int argc, char** argv) { return app::RunProgram(argc, argv); }
