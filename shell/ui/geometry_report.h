#pragma once
// For tests of the program on a real X display: where the document windows sit on the screen.
// Document windows live inside the frame's workspace and are no windows of the display, so a
// test cannot read their place from the X server. With ORVANE_GEOMETRY_REPORT naming a file,
// the frame rewrites that file a few times a second, one line each, in screen pixels:
//   workspace X Y W H                 the visible part of the workspace
//   slide X Y W H                     the slide button
//   document X Y W H CX CY CW CH Name  a document window, then its client area; the caption
//                                     is the strip between the window's top and the client's
//   menu X Y W H Text                 an entry of the menu bar or of an open menu
//   question Text                     the message box waiting for an answer
//   dialog Title                      another window waiting for an answer, then one line
//   label Text                        for each of its shown labels
//   active Name                       the document whose window is active (title bar lit)
// Without the variable nothing happens.
namespace orv {

class frmMain;

void StartGeometryReport(frmMain* frame);

} // namespace orv
