// A picture decoded by Qt: the image and the file it came from.
#pragma once

#include "platform/Picture.h"

#include <QImage>

class CQtPicture : public CPicture
{
public:
    CQtPicture(QImage image, Text sourceFile);

    int Width() const override;
    int Height() const override;
    const Text& SourceFile() const override;

    const QImage& Image() const;

private:
    QImage m_image;
    Text m_sourceFile;
};
