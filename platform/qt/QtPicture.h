// A picture decoded by Qt: the image, the file it came from, and the size it is given on the
// screen. A stretched picture keeps the decoded image and only changes its size: the window
// draws the image whole, in its own proportions, inside that size.
#pragma once

#include "platform/Picture.h"

#include <QImage>
#include <QSize>

class CQtPicture : public CPicture
{
public:
    // Without a `size`, the picture has the image's own.
    CQtPicture(QImage image, Text sourceFile, QSize size = QSize());

    int Width() const override;
    int Height() const override;
    const Text& SourceFile() const override;

    const QImage& Image() const;

private:
    QImage m_image;
    Text m_sourceFile;
    QSize m_size;
};
