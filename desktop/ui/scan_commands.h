#pragma once
// File > Scan: choosing the scanner for this run of the program, and scanning one picture
// into a new document. The document windows and the frame run the same commands.
class QWidget;

namespace orv {

class frmMain;

// Lists the scanners found and remembers the one chosen until the program ends.
void SelectScanSource(QWidget* owner);

// Scans from the chosen scanner (the first one found when none was chosen) through the scan
// dialog and opens the picture as a new document. A failure gives a message; a cancel opens
// nothing and says nothing.
void ScanToNewDocument(QWidget* owner, frmMain* main);

} // namespace orv
