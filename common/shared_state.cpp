#include "common/shared_state.h"

WheelFields Fields;
FitResult Fit;
int RefValid;
int OutValid;
HBITMAP Background;
