#pragma once
// The pinch zoom: a two-finger pinch steps the map's zoom level in or out by one.

enum class PinchPhase { Updating, Finished, Canceled };

// One update of a pinch gesture. Counts the scale updates above and below 1.0; when the gesture
// finishes, zooms one step in the direction that was more frequent (ties zoom in). Returns
// true when the window must repaint.
bool applyPinchUpdate(bool scaleChanged, double scaleFactor, PinchPhase phase);
