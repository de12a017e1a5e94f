#pragma once

struct SDL_Window;

// Sends the window the close request a window manager sends when its close
// button is clicked (WM_DELETE_WINDOW). False when the window is not on X11
// or the X library cannot be reached.
bool SendWindowManagerClose(SDL_Window* window);
