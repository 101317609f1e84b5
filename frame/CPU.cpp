#include "frame/CPU.h"
