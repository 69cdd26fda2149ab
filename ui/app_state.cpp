#include "ui/app_state.h"

WheelFields Fields;
FitResult Fit;
int RefValid;
int OutValid;
DiagramExtent Extent;

HINSTANCE Instance;
HWND MainWindow;
HBITMAP Background;
HWND SpinControls[5];
int AboutOpen;

SubclassedControl EditControls[5];
SubclassedControl MainLink;
SubclassedControl AboutLink;

int Dragging;
POINT DragStart;

int FullHeight;
