// The qvin command-line tool.
#include <iostream>
#include <string>
#include <vector>

#include "qvin/commands/commands.h"
#include "qvin/platform/system.h"

int main(int argc, char** argv) {
  qvin::platform::use_utf8_console();
  const std::vector<std::string> args = qvin::platform::utf8_arguments(argc, argv);
  return qvin::run_cli(args, std::cout, std::cerr);
}
