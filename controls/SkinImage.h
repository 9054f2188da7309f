#pragma once

#include <QColor>
#include <QImage>

class QPainter;
class QPoint;
class QRect;
class QString;

// Skin pictures are named by paths relative to the program folder, such as "skin/1.bmp"
// (a Windows-style "skin\1.bmp" is accepted too). The programs make the program folder the
// current directory, so the names resolve against it.
namespace Skin {

// The one transparent colour of every skin picture.
inline const QColor kTransparent(255, 0, 255);

// The file a skin name refers to: backslashes become slashes and, when the exact name does
// not exist, a file of the same name in another letter case is taken (the names were written
// for a file system that ignores case). Returns the converted name when nothing matches.
QString ResolvePath(const QString& name);

// Plain loading: the picture at its own size in the display's format (32-bit RGB).
// A missing or unreadable file gives a null image.
QImage LoadBitmap(const QString& name);

// Loading as a device-independent picture: the pixels as the file stores them, at its own size.
QImage LoadSection(const QString& name);

// The picture with every pixel of the transparent colour made fully transparent.
QImage Keyed(const QImage& image);

// Draws `source` of a keyed picture at `target`, leaving out the transparent pixels.
void DrawKeyed(QPainter& painter, const QPoint& target, const QImage& keyed, const QRect& source);

} // namespace Skin
