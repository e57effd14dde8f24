// The background picture loader on any bytes, every format it reads: the raster loader (BMP,
// PNG, GIF, TIFF, icons through Qt's readers, JPEG through libjpeg) on a file, and the vector
// renderers (WMF, EMF, SVG, the first page of a PDF) chosen by the same content sniffing. A result
// is either an error without a picture or a picture within the size asked for without an error.
#include <pthread.h>
#include <sanitizer/common_interface_defs.h>
#include <unistd.h>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "BackgroundPicture.h"
#include "VectorPictures.h"

using namespace murvex::pictures;

namespace {

// A small target keeps rendering cheap; the fit rules are the same at any size.
const QSize kFit(64, 48);

QString ScratchPath() {
    return QStringLiteral("/dev/shm/murvex-picture-fuzz-%1").arg(static_cast<qint64>(getpid()));
}

void CheckRendered(bool ok, const QImage& image, const QString& error) {
    if (ok != error.isEmpty()) std::abort();
    if (ok != !image.isNull()) std::abort();
    if (ok && (image.width() < 1 || image.height() < 1 || image.width() > kFit.width() ||
               image.height() > kFit.height()))
        std::abort();
}

// A PDF page is drawn in a child process under a memory limit, which the sanitizers' own
// bookkeeping reaches sooner. A child that dies there is a refused picture, not a finding: it
// ends as one that ran out of memory instead of writing a crash file for the fuzzer.
void ChildDeath() {
    _exit(2);
}

void InChild() {
    __sanitizer_set_death_callback(ChildDeath);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    pthread_atfork(nullptr, nullptr, InChild);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The painter and the image readers need an application object.
    new QGuiApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QImage image;
    QString error;
    if (LooksLikeWmf(bytes)) {
        CheckRendered(RenderWmf(bytes, kFit, &image, &error), image, error);
    } else if (LooksLikeEmf(bytes)) {
        CheckRendered(RenderEmf(bytes, kFit, &image, &error), image, error);
    } else if (LooksLikeSvg(bytes)) {
        CheckRendered(RenderSvg(bytes, kFit, &image, &error), image, error);
    } else if (LooksLikePdf(bytes)) {
        CheckRendered(RenderPdf(bytes, kFit, &image, &error), image, error);
    } else {
        const QString path = ScratchPath();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        if (file.write(bytes) != bytes.size()) std::abort();
        file.close();
        const BackgroundPictureResult r = LoadBackgroundPicture(path, kFit);
        CheckRendered(r.ok(), r.image, r.error);
    }
    return 0;
}
