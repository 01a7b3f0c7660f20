#pragma once

namespace lexora {

// Page displays draw through the processor rather than OpenGL. A window that holds a page
// display would otherwise compose all of itself through OpenGL on every repaint, so that each
// key typed into the item editor's code field beside its preview waited for that (several
// milliseconds, and a wait for the screen's refresh on some drivers); drawn this way a key is
// painted in about a millisecond. Call before the first window with a page display is made.
void renderPagesInSoftware();

} // namespace lexora
