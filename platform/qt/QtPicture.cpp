#include "platform/qt/QtPicture.h"

#include <utility>

CQtPicture::CQtPicture(QImage image, Text sourceFile)
    : m_image(std::move(image)), m_sourceFile(std::move(sourceFile))
{
}

int CQtPicture::Width() const
{
    return m_image.width();
}

int CQtPicture::Height() const
{
    return m_image.height();
}

const Text& CQtPicture::SourceFile() const
{
    return m_sourceFile;
}

const QImage& CQtPicture::Image() const
{
    return m_image;
}
