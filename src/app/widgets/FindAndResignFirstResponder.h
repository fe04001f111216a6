#pragma once

class View;

// Makes the first responder in the view's tree resign: the view itself, else
// its subviews in order, depth first. Answers whether one did; a tree without
// a first responder is left as it is.
bool findAndResignFirstResponder(View* view);
