// Commands wired by the main window whose bodies belong to another
// subsystem and are not written yet. Each is marked PENDING(owner): the owner
// defines the handler in its own folder and deletes the empty body here.
#include "app/TForm1.h"

// ---- verify
void TForm1::butRetrieveClick()
{ /* PENDING(verify) */
}
void TForm1::popScanPageClick()
{ /* PENDING(verify) */
}
