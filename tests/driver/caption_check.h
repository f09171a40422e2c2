// What a caption of the program must look like in a captured window: glyph
// cells from Unifont and single-byte text in the dialog's font, placed where
// the drawing rules put them, compared pixel for pixel with the capture.
#pragma once
#include "driver/setup_driver.h"
#include <string>

const int GlyphCellSize = 16;

// The colours and font a caption is drawn with. The glyph cells are combined
// with what is already there: ANDed, or ORed for the selected combo item.
struct CaptionLook {
    COLORREF fill;      // the item's face, drawn before the caption
    COLORREF text;      // the context's text colour: the ink
    COLORREF back;      // the context's background colour: the cells' background
    int ored;
    HFONT font;         // single-byte characters are drawn in it
};

// The width of a mixed string: 16 per two-byte character, each single-byte
// character measured alone in the font.
int ExpectedCaptionWidth(HFONT font, const char *text);
// Compares the caption drawn with its top-left at (x, y) of the capture with
// what it must look like, within clip (the control's client area in the
// capture); every glyph cell must lie wholly inside clip. On a mismatch, says
// where, and saves both pictures as artifacts named after the caption.
int CaptionShownAt(const Capture &capture, const RECT &clip, int x, int y, const char *text,
                   const CaptionLook &look, const char *name, std::string *failure);

// A control's client area in the coordinates of a capture of window.
RECT ClientAreaInCapture(HWND window, HWND control);
// The font a dialog template of the setup program gives its controls, from a
// hidden copy of the dialog made in this process; 0 when it cannot be made.
HFONT DialogFontOfTemplate(int templateId);
