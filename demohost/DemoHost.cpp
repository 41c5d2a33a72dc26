#include "Framework.h"
int wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) { return 0; }
