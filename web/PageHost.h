// The page side of the browser host, written in JavaScript (PageHost.js) and linked into the
// program: the canvas as the demo's one window, the browser's full screen, the cursor, the
// keys and the tab's visibility, and what the page shows while Tavik runs, has ended or
// cannot run. Sizes handed in are CSS pixels; sizes handed out are the canvas's pixels.
#pragma once

extern "C" {
// The window's size before it exists (glutInitWindowSize).
void tavik_page_set_window_size(int width, int height);
// Titles the page and creates the WebGL context on its canvas for GLUT's display mode, with a
// drawing buffer that keeps its picture between frames. 0 when the browser has no WebGL: the
// page then says so.
int tavik_page_create_window(const char* title);
// The canvas fills the page; with browser set, the browser's own full screen is asked for too,
// which the browser grants only within a user's gesture.
void tavik_page_full_screen(int browser);
// The canvas at the size it had before it filled the page; leaves the browser's full screen.
void tavik_page_leave_full_screen();
// The canvas at width x height in the middle of the page.
void tavik_page_reshape_window(int width, int height);
void tavik_page_set_cursor(int cursor);
// The glutGet queries that Tavik makes, for the page's window; -1 for any other.
int tavik_page_get(int query);
// The session runs: the page shows the canvas, reshapes the window to it and asks for a frame.
void tavik_page_run();
// The session has ended: the page says so and calls tavik_restart at the next key or click.
void tavik_page_end();
}
