// vob4: design of noncircular spur gear pairs.
#include <iostream>

#include "app/start_up.h"
#include "calc/calc_records.h"
#include "common/kaldvar.h"

int main(int argc, char** argv) {
  app::StartUpProgram(argc, argv);
  std::cout << common::ProgramTitle << "  " << common::ProductCode << " " << common::ProgramVersion
            << "\n";
  app::ShutDownProgram();
  return 0;
}
