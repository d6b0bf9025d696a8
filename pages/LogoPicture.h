#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <stdexcept>

// The size the system shows the vendor's logo in, on the General page of the System properties.
inline constexpr QSize kLogoSize{180, 115};

// A picture that cannot be read or turned into the logo; the text is for the user.
class PictureError : public std::runtime_error
{
public:
    explicit PictureError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The kinds of picture a file's extension names.
enum class PictureKind
{
    Bitmap,   // "bmp"
    Jpeg,     // "jpg", "jpeg"
    Icon,     // "ico"
    Metafile, // "wmf", "emf"
    Unknown,
};
PictureKind PictureKindOf(const QString& fileName);

// The picture in a file, as a bitmap. The file is named by its host path and shown to the user by
// its system path. Icons and metafiles have no bitmap to give; every failure throws PictureError.
QImage ReadBitmapPicture(const QString& hostPath, const QString& shownPath);

// A JPEG file's picture, decoded by the IJG library.
QImage DecodeJpeg(const QByteArray& bytes);

// The picture stretched over exactly the logo's size, whatever its proportions.
QImage StretchedLogo(const QImage& picture);

// The bytes of a 24-bit Windows bitmap file holding the image.
QByteArray BitmapFileBytes(const QImage& image);
