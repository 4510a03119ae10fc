// zorvan2: the two-box urn model with its empirical and theoretical distributions.
#include "services/program_host.h"
#include "sim/program_flow.h"

int main() { return host_program([] { run_main_sequence(kSecondVersion); }); }
