#include "hid_thread.h"
