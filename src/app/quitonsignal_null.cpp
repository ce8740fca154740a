#include "quitonsignal.h"

void quitOnTerminationSignals() {}
