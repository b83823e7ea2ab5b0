#pragma once
// Dialog layout on displays denser than 120 pixels per inch. Our templates, and the wizard's
// page area around them, are drawn for two pixels a dialog unit at 120; denser displays get
// the page area in proportion, but not the dialog font's units, which grow in the steps the
// font's sizes allow: placed by the font, controls would run past the page or into each
// other. There they are placed in the page area's proportion instead. At 120 and below
// nothing changes.

#include <windows.h>

namespace tarn::ui {

// Whether a display of this vertical density gets the proportional layout.
bool IsDenseDisplay(int logPixelsY);

// Pixels of a length in dialog units at this density: two at 120, in proportion above.
int DenseUnitsToPixels(int dialogUnits, int logPixelsY);

// On a dense display, moves every child window of `dialog` to its template rectangle at the
// proportional scale, kept inside `area` (from the dialog's top-left corner). The children's
// template rectangles are read back from where the dialog font placed them, so call it before
// the dialog adds windows of its own in pixels.
void LayOutForDensity(HWND dialog, int logPixelsY, SIZE area);

// For a top-level dialog: on a dense display, gives its client area its template's size at
// the proportional scale (around the same centre, kept on the screen), then lays out its
// children inside it.
void FitDialogToDensity(HWND dialog, int logPixelsY);

}  // namespace tarn::ui
