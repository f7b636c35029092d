#include "b/B.h"
#include "d/D.h"
#include <QWidget>
#include <vector>
