// Must not build: a file format reaching for the message boxes of the windows.
#include "dialogs.h"
