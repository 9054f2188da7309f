#pragma once

#include <QImage>

class QString;

// One image slot of a skinned control: empty until a load succeeds.
class SRImage
{
public:
    // An empty name changes nothing and gives false. Otherwise the old picture is dropped
    // first, then the file is loaded plainly (see Skin::LoadBitmap); false when it fails,
    // which leaves the slot empty.
    bool Load(const QString& name);

    bool IsEmpty() const { return m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    int Depth() const { return m_image.depth(); }
    const QImage& Image() const { return m_image; }
    void Clear() { m_image = QImage(); }

private:
    QImage m_image;
};
