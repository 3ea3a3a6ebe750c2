#include "shell/TfrmToolbar.h"
