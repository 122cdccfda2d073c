#include "mailrules.h"
