// vob4: design of noncircular spur gear pairs.
#include <iostream>

#include "common/kaldvar.h"

int main(int argc, char** argv) {
  common::InitKaldvar();
  common::InitWkaldvar();
  common::SetProgramIdentity();
  std::cout << common::ProgramTitle << "  " << common::ProductCode << " "
            << common::ProgramVersion << "\n";
  return 0;
}
