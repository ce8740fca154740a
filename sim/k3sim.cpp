#include "k3sim.h"
