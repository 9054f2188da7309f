#include "controls/SkinImage.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QRect>
#include <QString>

namespace Skin {

QString ResolvePath(const QString& name)
{
    QString path = name;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;

    // Walk the path part by part, matching each part without regard to case.
    const bool absolute = path.startsWith(QLatin1Char('/'));
    QDir dir(absolute ? QStringLiteral("/") : QStringLiteral("."));
    QString resolved = absolute ? QStringLiteral("/") : QString();
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (int i = 0; i < parts.size(); ++i) {
        QString match;
        const QStringList entries =
            dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
        for (const QString& entry : entries) {
            if (entry.compare(parts[i], Qt::CaseInsensitive) == 0) {
                match = entry;
                break;
            }
        }
        if (match.isEmpty())
            return path;
        if (!resolved.isEmpty() && !resolved.endsWith(QLatin1Char('/')))
            resolved += QLatin1Char('/');
        resolved += match;
        if (i + 1 < parts.size() && !dir.cd(match))
            return path;
    }
    return resolved;
}

QImage LoadBitmap(const QString& name)
{
    QImage image = LoadSection(name);
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage LoadSection(const QString& name)
{
    if (name.isEmpty())
        return {};
    QImage image;
    if (!image.load(ResolvePath(name)))
        return {};
    return image;
}

QImage Keyed(const QImage& image)
{
    if (image.isNull())
        return image;
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = kTransparent.rgb();
    for (int y = 0; y < keyed.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((row[x] | 0xff000000u) == key)
                row[x] = 0;
        }
    }
    return keyed;
}

void DrawKeyed(QPainter& painter, const QPoint& target, const QImage& keyed, const QRect& source)
{
    if (keyed.isNull() || source.isEmpty())
        return;
    painter.drawImage(target, keyed, source);
}

} // namespace Skin
