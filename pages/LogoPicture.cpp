#include "LogoPicture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace {

// The IJG library reports a fatal error by calling error_exit, which must not return: it jumps
// back to the decoding step that started the work, which then fails.
struct JpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void JpegExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings of a damaged but readable file are not the user's business.
void JpegQuiet(j_common_ptr) {}

// The decoding steps keep only plain data in their frames, so the jump skips no destructor.
bool ReadJpegHeader(jpeg_decompress_struct& info, JpegErrors& errors)
{
    if (setjmp(errors.jump)) return false;
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space == JCS_GRAYSCALE) {
        info.out_color_space = JCS_GRAYSCALE;
    } else if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
        info.out_color_space = JCS_CMYK;
    } else {
        info.out_color_space = JCS_RGB;
    }
    jpeg_calc_output_dimensions(&info);
    return true;
}

bool ReadJpegRows(jpeg_decompress_struct& info, JpegErrors& errors, unsigned char* rows,
                  std::size_t stride)
{
    if (setjmp(errors.jump)) return false;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = rows + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    return true;
}

// Adobe's CMYK JPEG files store the inks inverted.
QImage FromInvertedCmyk(const QByteArray& pixels, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    const auto* cmyk = reinterpret_cast<const unsigned char*>(pixels.constData());
    for (int y = 0; y < height; ++y) {
        uchar* out = image.scanLine(y);
        for (int x = 0; x < width; ++x, cmyk += 4, out += 3) {
            const int k = cmyk[3];
            out[0] = uchar(cmyk[0] * k / 255);
            out[1] = uchar(cmyk[1] * k / 255);
            out[2] = uchar(cmyk[2] * k / 255);
        }
    }
    return image;
}

QByteArray ReadWhole(const QString& hostPath, const QString& shownPath)
{
    QFile file(hostPath);
    if (!QFileInfo(hostPath).isFile() || !file.open(QIODevice::ReadOnly))
        throw PictureError(QStringLiteral("Cannot open file %1").arg(shownPath));
    return file.readAll();
}

} // namespace

PictureKind PictureKindOf(const QString& fileName)
{
    const QString extension = QFileInfo(fileName).suffix().toLower();
    if (extension == QStringLiteral("bmp")) return PictureKind::Bitmap;
    if (extension == QStringLiteral("jpg") || extension == QStringLiteral("jpeg"))
        return PictureKind::Jpeg;
    if (extension == QStringLiteral("ico")) return PictureKind::Icon;
    if (extension == QStringLiteral("wmf") || extension == QStringLiteral("emf"))
        return PictureKind::Metafile;
    return PictureKind::Unknown;
}

QImage DecodeJpeg(const QByteArray& bytes)
{
    jpeg_decompress_struct info = {};
    JpegErrors errors = {};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegExit;
    errors.manager.output_message = JpegQuiet;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));

    QImage image;
    QByteArray cmyk;
    bool read = ReadJpegHeader(info, errors);
    if (read) {
        const int width = int(info.output_width);
        const int height = int(info.output_height);
        if (info.out_color_space == JCS_CMYK) {
            cmyk.resize(qsizetype(width) * height * 4);
            read = ReadJpegRows(info, errors, reinterpret_cast<unsigned char*>(cmyk.data()),
                                std::size_t(width) * 4);
            if (read) image = FromInvertedCmyk(cmyk, width, height);
        } else {
            image = QImage(width, height,
                           info.out_color_space == JCS_GRAYSCALE ? QImage::Format_Grayscale8
                                                                 : QImage::Format_RGB888);
            read = !image.isNull() &&
                   ReadJpegRows(info, errors, image.bits(), std::size_t(image.bytesPerLine()));
        }
    }
    const int code = errors.manager.msg_code;
    jpeg_destroy_decompress(&info);
    if (!read || image.isNull()) throw PictureError(QStringLiteral("JPEG error #%1").arg(code));
    return image;
}

QImage ReadBitmapPicture(const QString& hostPath, const QString& shownPath)
{
    const PictureKind kind = PictureKindOf(hostPath);
    if (kind == PictureKind::Unknown)
        throw PictureError(QStringLiteral("Unknown picture file extension (.%1)")
                               .arg(QFileInfo(hostPath).suffix()));
    const QByteArray bytes = ReadWhole(hostPath, shownPath);
    switch (kind) {
    case PictureKind::Bitmap: {
        const QImage image = QImage::fromData(bytes, "BMP");
        if (image.isNull()) throw PictureError(QStringLiteral("Bitmap image is not valid"));
        return image;
    }
    case PictureKind::Jpeg:
        return DecodeJpeg(bytes);
    case PictureKind::Icon:
        throw PictureError(QStringLiteral("Cannot assign a TIcon to a TBitmap"));
    default:
        throw PictureError(QStringLiteral("Cannot assign a TMetafile to a TBitmap"));
    }
}

QImage StretchedLogo(const QImage& picture)
{
    QImage logo(kLogoSize, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), kLogoSize), picture);
    return logo;
}

QByteArray BitmapFileBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP");
    return bytes;
}
