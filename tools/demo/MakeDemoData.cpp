// dovetail-make-demo: writes the bundled demo game's data folder from the
// sources in content/demo.
#include <iostream>

#include "content/Finding.h"
#include "demo/DemoData.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: dovetail-make-demo CONTENT_DIR OUT_DIR\n";
    return 2;
  }
  const auto findings = dovetail::tools::MakeDemoData(argv[1], argv[2]);
  for (const auto& finding : findings)
    std::cerr << dovetail::tools::FormatFinding(finding) << '\n';
  return dovetail::tools::CountErrors(findings) == 0 ? 0 : 1;
}
