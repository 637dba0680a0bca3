#include "skin/TbsFBitmap.h"

namespace pixolo
{

TbsFBitmap::TbsFBitmap(const QImage &source)
    : m_image(source.isNull() ? QImage() : source.convertToFormat(QImage::Format_BGR888))
{
}

bool TbsFBitmap::isBlack(int x, int y) const
{
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) {
        return false;
    }
    const uchar *pixel = ScanLine(y) + 3 * x;
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

} // namespace pixolo
