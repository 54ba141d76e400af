#pragma once
// What the five looks share: a face (outline, body gradient, gloss, hover ring) and a
// style of colours from which the small controls of every look are drawn the same
// way. Each look draws its own buttons, title bar and title-bar buttons.

#include "ArtworkCatalog.h"
#include "Painting.h"

#include <functional>

namespace artgen {

// One raised surface. Gradients run from top to bottom only, so that stretching
// sideways keeps them clean.
struct Face {
    QColor border;
    QColor top;
    QColor bottom;
    QColor split;         // when valid: a hard change of the body at splitAt (glass)
    QColor splitEnd;      // body colour at the bottom of the upper part
    qreal splitAt = 0.5;  // as a fraction of the body height
    QColor gloss;         // sheen over the upper part; alpha 0: none
    qreal glossHeight = 0.45;
    QColor innerLight;    // one-pixel line inside the border at the top; alpha 0: none
    QColor ring;          // two-pixel ring inside the border (mouse over); alpha 0: none
    QColor ringBottom;
};

// Paints `f` over r (whole pixels) with corner radius `radius` on a layer painter.
void paintFace(QPainter& p, const QRectF& r, qreal radius, const Face& f);

// A face drawn whole onto a picture: magenta outside it where `dst` is magenta,
// partly covered pixels blended with `backdrop`.
void stampFace(QImage& dst, const QRectF& r, qreal radius, const Face& f, const QColor& backdrop);

struct Style {
    QColor form;         // the window colour small controls sit on
    QColor list;         // list and menu background
    QColor scrollTrack;  // scroll bar track
    Face normal, hover, pressed;            // small raised faces (scroll buttons)
    Face box, boxDisabled;                  // check box and radio button
    Face checked, checkedDisabled;          // face of a checked box where the look fills it
    QColor mark, markDisabled;              // check marks and radio dots
    QColor arrow;                           // scroll button arrows; mark when not set
    qreal boxRadius = 2;
    Face thumb, thumbHover, thumbPressed;   // scroll thumb
    Face groove;                            // track bar groove
    Face slider;                            // track bar thumb
    QColor menuHover, menuHoverBorder;      // menu scroll button under the pointer
    QColor menuMark;                        // arrows of menu scroll buttons
    Face tab;
    QColor tabLine, tabLineLight;
    QColor grip, gripLight;                 // dots of the side-channel handle
    Face handle;
};

using Picture = artwork::Picture;

// Generic pictures, drawn from the style.
QImage checkBoxPicture(const Picture& pic, const Style& s);
QImage radioPicture(const Picture& pic, const Style& s);
QImage checkListPicture(const Picture& pic, const Style& s);
QImage scrollBarButtonPicture(const Picture& pic, const Style& s, qreal radius);
QImage scrollThumbPicture(const Picture& pic, const Style& s);
QImage menuScrollButtonPicture(const Picture& pic, const Style& s);
QImage trackBarPicture(const Picture& pic, const Style& s);
QImage sliderPicture(const Picture& pic, const Style& s, bool vertical);
QImage tabPicture(const Picture& pic, const Style& s);
QImage tabLinePicture(const Picture& pic, const Style& s);
QImage handlePicture(const Picture& pic, const Style& s);

// Piecewise linear colour over whole rows: stops are (row, colour), rows ascending.
QColor ramp(int y, std::initializer_list<std::pair<int, QColor>> stops);

// A shaped end of a round-cornered title bar: `content` cut to the window's corner
// ellipse (radius `radius`) at the top-left or top-right; pixels the corner leaves out
// become magenta, barely covered ones included, so the window's round region never
// shows them; edge pixels are blended with `rim`.
QImage roundTitleEnd(const QImage& content, bool left, qreal radius, const QColor& rim);

// A picture of one column or row filled by `row(y)`.
QImage columnPicture(int w, int h, const std::function<QColor(int)>& row);

// Draws one frame per label with `frame(index)`, joined side by side.
QImage framed(const Picture& pic, const std::function<QImage(int)>& frame);

// Disabled version of a colour: washed towards `towards`.
QColor faded(const QColor& c, const QColor& towards, qreal amount = 0.55);
Face fadedFace(const Face& f, const QColor& towards, qreal amount = 0.55);

// The application's mark, drawn by the shared pictures; also the control-box picture
// of the looks that show the program's icon there.
QImage mainIcon(int size);

// Per look; each falls back to the generic pictures for what it does not draw itself.
QImage drawMacOS(const Picture& pic);
QImage drawWinXP(const Picture& pic);
QImage drawDeepBlue(const Picture& pic);
QImage drawProtein(const Picture& pic);
QImage drawBlueGlass(const Picture& pic);
QImage drawShared(const Picture& pic);
// The generic pictures of a look's style, or a null image for an element it lacks.
QImage drawGeneric(const Picture& pic, const Style& s);

}  // namespace artgen
