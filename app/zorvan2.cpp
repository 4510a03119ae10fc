// zorvan2: the second version of the two-box urn model, with the empirical and theoretical
// distributions and the distance between them.
#include "services/program/program_host.h"
#include "sim/program_flow.h"

int main(int argc, char** argv) {
  return host_program(argc, argv, [] { run_main_sequence(kSecondVersion); });
}
