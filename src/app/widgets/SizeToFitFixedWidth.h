#pragma once

class Label;

// Makes a label as tall as its text wrapped at a width: same origin, the
// given width, word wrapping over as many lines as needed.
void sizeToFitFixedWidth(Label* label, double width);
// The same at the label's current width.
void sizeToFitCurrentWidth(Label* label);
