#include "controls/SRImage.h"

#include "controls/SkinImage.h"

#include <QString>

bool SRImage::Load(const QString& name)
{
    if (name.isEmpty())
        return false;
    m_image = QImage();
    m_image = Skin::LoadBitmap(name);
    return !m_image.isNull();
}
