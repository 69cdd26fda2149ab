#include "ui/app_state.h"

WheelFields Fields;
FitResult Fit;
int RefValid;
int OutValid;
DiagramExtent Extent;

HINSTANCE Instance;
HWND MainWindow;
HBITMAP Background;
HWND SpinControls[kFieldCount];
int AboutOpen;

SubclassedControl EditControls[kFieldCount];
SubclassedControl MainLink;
SubclassedControl AboutLink;

int Dragging;
POINT DragStart;

int FullHeight;
