// The export's own loop: it ends once the editor has finished and the
// preview has closed for good (or the application quits).
#pragma once

// Called whenever one of the two flags is set.
void NotifyRunLoop();
