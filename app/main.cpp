// Tallix: the desktop calculator. No command line, no settings, no files.
#include "app/startup.h"

int main(int argc, char** argv) { return tallix::app::run(argc, argv); }
