// plinthwright-model-reader: reads the footer models the window and the command line hand it on
// its standard input, one after the other, and answers each on its standard output
// (ReaderProtocol.h). It never opens a file; whatever a model does to it ends here.

#include "ModelReading.h"
#include "ReaderService.h"

int main() { return pw::serveModelRequests(pw::modelFootprintOf); }
