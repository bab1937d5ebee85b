// The qvin command-line tool.
#include <iostream>
#include <string>
#include <vector>

#include "qvin/commands/commands.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return qvin::run_cli(args, std::cout, std::cerr);
}
