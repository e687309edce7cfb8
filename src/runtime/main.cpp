// The demo's entry point. It takes no arguments and no options: everything is fixed.
#include "runtime/demo.h"

int main() { return runDemo(); }
