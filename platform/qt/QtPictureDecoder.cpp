#include "platform/qt/QtPictureDecoder.h"

#include "platform/qt/QtPicture.h"

#include <QFile>
#include <QImageReader>
#include <cstdint>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Four bytes a pixel: the largest picture that stays within the allocation limit.
constexpr std::int64_t MaximumPixels =
    std::int64_t{CQtPictureDecoder::AllocationLimitMegabytes} * 1024 * 1024 / 4;

bool IsAcceptableSize(std::int64_t width, std::int64_t height)
{
    return width > 0 && height > 0 && width <= CQtPictureDecoder::MaximumSide &&
           height <= CQtPictureDecoder::MaximumSide && width * height <= MaximumPixels;
}

bool IsRegularFile(const struct stat& status)
{
    return S_ISREG(status.st_mode);
}
} // namespace

PictureHandle CQtPictureDecoder::Load(const Text& path)
{
    // Opening a FIFO or a device could wait for ever or read without end: look first, and
    // look again at what was opened, in case the name was replaced in between.
    struct stat status = {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0 || !IsRegularFile(status))
    {
        return nullptr;
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
    {
        return nullptr;
    }
    if (::fstat(descriptor, &status) != 0 || !IsRegularFile(status))
    {
        ::close(descriptor);
        return nullptr;
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
    {
        ::close(descriptor);
        return nullptr;
    }

    QImageReader reader(&file);
    reader.setAllocationLimit(AllocationLimitMegabytes);
    const QSize announced = reader.size();
    if (announced.isValid() && !IsAcceptableSize(announced.width(), announced.height()))
    {
        return nullptr;
    }
    QImage image = reader.read();
    if (image.isNull() || !IsAcceptableSize(image.width(), image.height()))
    {
        return nullptr;
    }
    return std::make_shared<CQtPicture>(std::move(image), path);
}

PictureHandle CQtPictureDecoder::Stretch(const PictureHandle& source, int width, int height)
{
    const auto* picture = dynamic_cast<const CQtPicture*>(source.get());
    if (picture == nullptr || picture->Image().isNull() || !IsAcceptableSize(width, height))
    {
        return nullptr;
    }
    // The pixels stay as decoded: the window draws them whole inside the new size.
    return std::make_shared<CQtPicture>(picture->Image(), picture->SourceFile(),
                                        QSize(width, height));
}
