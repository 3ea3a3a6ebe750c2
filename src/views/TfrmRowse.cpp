#include "views/TfrmRowse.h"
