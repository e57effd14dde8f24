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
bool RenderWmf(const QByteArray& data, QSize fit, QImage* out, QString* error);
bool RenderEmf(const QByteArray& data, QSize fit, QImage* out, QString* error);
bool RenderSvg(const QByteArray& data, QSize fit, QImage* out, QString* error);
bool RenderPdf(const QByteArray& data, QSize fit, QImage* out, QString* error);

// Content sniffing on the first bytes of a file (a few hundred bytes suffice; SVG looks at most at
// the first 4096 for an <svg element).
bool LooksLikeWmf(const QByteArray& head);
bool LooksLikeEmf(const QByteArray& head);
bool LooksLikeSvg(const QByteArray& head);
bool LooksLikePdf(const QByteArray& head);

}  // namespace murvex::pictures
