#include "ui/app_state.h"

HINSTANCE Instance;
HWND MainWindow;
HWND SpinControls[kFieldCount];
int AboutOpen;

SubclassedControl EditControls[kFieldCount];
SubclassedControl MainLink;
SubclassedControl AboutLink;

bool Dragging;
POINT DragStart;

int FullHeight;
