// Vector background pictures (Windows metafiles, SVG, the first page of a PDF) rendered to an
// image.
#pragma once

class QByteArray;
class QImage;
class QSize;
class QString;

namespace murvex::pictures {

// Every Render function draws the whole file's picture scaled to fit `fit` with its proportions
// kept, on white. On success `out` holds exactly the fitted size (a 2:1 picture into 300 x 300
// gives 300 x 150; the caller centres it). On failure `out` is left as it was and `error` gets a
// message for the error box. `fit` must be positive on both sides and at most 100 megapixels.
// An SVG that names any other file is refused: no file but the one given is read. A PDF page is
// drawn in a bounded run (time and memory); one over the bound is refused.
bool RenderWmf(const QByteArray& data, QSize fit, QImage* out, QString* error);
bool RenderEmf(const QByteArray& data, QSize fit, QImage* out, QString* error);
bool RenderSvg(const QByteArray& data, QSize fit, QImage* out, QString* error);
bool RenderPdf(const QByteArray& data, QSize fit, QImage* out, QString* error);

// Content sniffing. The metafiles and PDF are known by their first bytes; SVG by its root element,
// wherever it comes in the file, so it is given the whole file.
bool LooksLikeWmf(const QByteArray& head);
bool LooksLikeEmf(const QByteArray& head);
bool LooksLikeSvg(const QByteArray& head);
bool LooksLikePdf(const QByteArray& head);

}  // namespace murvex::pictures
