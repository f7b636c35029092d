#include "b/Other.h"
#include "Local.h"
