// dovetail-data: compiles, decompiles and checks a game's data folder.
#include <iostream>
#include <string>
#include <vector>

#include "content/DataTool.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return dovetail::tools::RunDataTool(args, std::cout, std::cerr);
}
