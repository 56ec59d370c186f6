// Commands wired by the main window whose bodies belong to another
// subsystem and are not written yet. Each is marked PENDING(owner): the owner
// defines the handler in its own folder and deletes the empty body here.
#include "app/TForm1.h"

// ---- files
void TForm1::spdNewClick()
{ /* PENDING(files) */
}
void TForm1::spdOpenClick()
{ /* PENDING(files) */
}
void TForm1::spdSaveClick()
{ /* PENDING(files) */
}
void TForm1::spdCutClick()
{ /* PENDING(files) */
}
void TForm1::spdCopyClick()
{ /* PENDING(files) */
}
void TForm1::spdPasteClick()
{ /* PENDING(files) */
}
void TForm1::spdDeleteClick()
{ /* PENDING(files) */
}
void TForm1::spdFindClick()
{ /* PENDING(files) */
}
void TForm1::spdPrintClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileNewClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileOpenClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileSaveClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileCloseClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileExportHtmlClick()
{ /* PENDING(files) */
}
void TForm1::mnuFileExportTextClick()
{ /* PENDING(files) */
}
void TForm1::mnuFIlePrintSetupClick()
{ /* PENDING(files) */
}
void TForm1::mnuFilePrintClick()
{ /* PENDING(files) */
}
void TForm1::mnuEditClick()
{ /* PENDING(files) */
}
void TForm1::mnuEditCutClick()
{ /* PENDING(files) */
}
void TForm1::mnuEditCopyClick()
{ /* PENDING(files) */
}
void TForm1::mnuEditPasteClick()
{ /* PENDING(files) */
}
void TForm1::mnuClearCheckboxesClick()
{ /* PENDING(files) */
}
void TForm1::mnuEditFindClick()
{ /* PENDING(files) */
}
void TForm1::UrlListPopupPopup()
{ /* PENDING(files) */
}
void TForm1::popCutClick()
{ /* PENDING(files) */
}
void TForm1::popCopyClick()
{ /* PENDING(files) */
}
void TForm1::Paste1Click()
{ /* PENDING(files) */
}
void TForm1::popRemoveFromListClick()
{ /* PENDING(files) */
}
void TForm1::TabSheet4Exit()
{ /* PENDING(files) */
}
void TForm1::ListView1Click()
{ /* PENDING(files) */
}
void TForm1::ListView2Click()
{ /* PENDING(files) */
}
void TForm1::ListView1KeyDown(int, Qt::KeyboardModifiers)
{ /* PENDING(files) */
}
void TForm1::ListView2KeyDown(int, Qt::KeyboardModifiers)
{ /* PENDING(files) */
}
void TForm1::ListView2DragOver(orv::UrlListView*, bool*)
{ /* PENDING(files) */
}
void TForm1::ListView2DragDrop(orv::UrlListView*)
{ /* PENDING(files) */
}

// ---- verify
void TForm1::butRetrieveClick()
{ /* PENDING(verify) */
}
void TForm1::popScanPageClick()
{ /* PENDING(verify) */
}
void TForm1::butAcceptClick()
{ /* PENDING(verify) */
}
void TForm1::memPrimarySearchCriteriaChange()
{ /* PENDING(verify) */
}
void TForm1::memSecondarySearchCriteriaChange()
{ /* PENDING(verify) */
}
void TForm1::memExclusionCriteriaChange()
{ /* PENDING(verify) */
}
