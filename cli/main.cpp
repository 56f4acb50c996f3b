#include <iostream>

#include "cli/bagsolve.h"
#include "safefile/replace.h"

int main(int argc, char** argv) {
  safefile::IgnoreFileSizeSignal();
  std::ios::sync_with_stdio(false);
  return cli::RunBagsolve(std::vector<std::string>(argv + 1, argv + argc), std::cin, std::cout,
                          std::cerr);
}
