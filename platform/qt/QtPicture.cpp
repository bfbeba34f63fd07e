#include "platform/qt/QtPicture.h"

#include <utility>

CQtPicture::CQtPicture(QImage image, Text sourceFile, QSize size)
    : m_image(std::move(image)), m_sourceFile(std::move(sourceFile)),
      m_size(size.isValid() ? size : m_image.size())
{
}

int CQtPicture::Width() const
{
    return m_size.width();
}

int CQtPicture::Height() const
{
    return m_size.height();
}

const Text& CQtPicture::SourceFile() const
{
    return m_sourceFile;
}

const QImage& CQtPicture::Image() const
{
    return m_image;
}
