// labels: convert, translate and check film and video labels from the shell.
#include "cli/cli.h"

int main(int argc, char** argv) { return cli::run_command(argc, argv); }
